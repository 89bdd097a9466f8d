#include "controls/CharacterFilter.h"

namespace hx::controls {

void CharacterFilter::SetAllowedCharacters(std::string_view allowed) {
    allowed_.assign(allowed);
    assigned_ = true;
}

bool CharacterFilter::Allows(unsigned code) const {
    return code != 0 && code <= 0xFF && allowed_.find(static_cast<char>(code)) != std::string::npos;
}

CharacterAction CharacterFilter::Classify(unsigned code, bool shiftDown, bool ctrlDown) const {
    // Shift+'-' and Ctrl+'v' are paste shortcuts of their own. Ctrl+V itself arrives as its
    // control character: it must paste through the filter too, or a restricted box would
    // swallow it with the other control characters below.
    if ((code == '-' && shiftDown) || (code == 'v' && ctrlDown) || code == kCtrlV)
        return CharacterAction::Paste;
    if (!Restricting()) return CharacterAction::Pass;
    return code == kBackspace || Allows(code) ? CharacterAction::Pass : CharacterAction::Discard;
}

std::string CharacterFilter::FilterText(std::string_view text) const {
    if (!Restricting()) return std::string(text);
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (Allows(static_cast<unsigned char>(c))) kept.push_back(c);
    }
    return kept;
}

}  // namespace hx::controls
