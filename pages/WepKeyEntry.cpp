#include "pages/WepKeyEntry.h"

#include <cstring>

#include "adapter/AdapterLibrary.h"
#include "config/ValueTables.h"

namespace hx {

WepKeyEntry::WepKeyEntry(WepKeyView& view, AdapterLibrary& library, StoredKeySource storedKey)
    : view_(view), library_(library), storedKey_(std::move(storedKey)) {}

void WepKeyEntry::Load(int wepKeyLengthBits, int keyFormat) {
    const KeyLengthInfo length = KeyLengthForBits(wepKeyLengthBits);
    view_.SelectKeyLengthPosition(length.position);
    keyLength_ = KeyLengthForPosition(length.position).bytes;
    view_.SelectKeyFormatPosition(keyFormat);
    ResetEntered();
    SetKeyFormat();
}

void WepKeyEntry::ShowKey(int index) {
    const auto& slot = slots_[static_cast<size_t>(index)];
    const bool hex = keyFormat_ == 1;
    std::string text;
    for (int i = 0; i < keyLength_; ++i) {
        if (entered_[static_cast<size_t>(index)]) {
            if (hex) {
                text += HexText(&slot[static_cast<size_t>(i)], 1);
            } else {
                if (slot[static_cast<size_t>(i)] == 0) break;  // the text ends at a zero byte
                text += static_cast<char>(slot[static_cast<size_t>(i)]);
            }
        } else {
            text += hex ? "** " : "*";
        }
    }
    view_.SetKeyBoxText(index, TrimWhitespace(text));
}

void WepKeyEntry::CaptureKey(int index) {
    auto& slot = slots_[static_cast<size_t>(index)];
    if (entered_[static_cast<size_t>(index)]) {
        std::string text = view_.KeyBoxText(index);
        std::array<uint8_t, kMaxKeyBytes> scratch{};
        if (keyFormat_ == 1) {
            while (static_cast<int>(text.size()) < 2 * keyLength_) text += '0';
            char buffer[100] = {};
            std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
            library_.HexStrToBin(buffer, scratch.data(), keyLength_);
        } else {
            std::memcpy(scratch.data(), text.data(), std::min<size_t>(text.size(), scratch.size()));
        }
        std::memcpy(slot.data(), scratch.data(), static_cast<size_t>(keyLength_));
    } else {
        const std::string stored = storedKey_(index, KeyLengthBits());
        char buffer[100] = {};
        std::strncpy(buffer, stored.c_str(), sizeof buffer - 1);
        library_.HexStrToBin(buffer, slot.data(), keyLength_);
    }
}

void WepKeyEntry::ApplyInputRules(int index) {
    if (keyFormat_ == 1) {
        view_.SetKeyBoxInput(index, kHexKeyCharacters, 2 * keyLength_);
    } else {
        view_.SetKeyBoxInput(index, "", keyLength_);
    }
}

void WepKeyEntry::SetKeyFormat() {
    for (int i = 0; i < 4; ++i) CaptureKey(i);
    keyFormat_ = view_.KeyFormatPosition() == 1 ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        ApplyInputRules(i);
        ShowKey(i);
    }
}

void WepKeyEntry::SetKeyLength() {
    for (int i = 0; i < 4; ++i) CaptureKey(i);
    keyLength_ = KeyLengthForPosition(view_.KeyLengthPosition()).bytes;
    for (int i = 0; i < 4; ++i) {
        ApplyInputRules(i);
        ShowKey(i);
    }
}

void WepKeyEntry::OnKeyBoxFocus(int index) {
    if (entered_[static_cast<size_t>(index)]) return;
    view_.ClearKeyBoxForEntry(index);
    entered_[static_cast<size_t>(index)] = true;
}

void WepKeyEntry::ResetEntered() { entered_.fill(false); }

std::string WepKeyEntry::KeyRecordText(int index) {
    CaptureKey(index);
    return HexText(slots_[static_cast<size_t>(index)].data(), keyLength_);
}

bool PassphraseLengthValid(const std::string& passphrase) {
    return passphrase.size() >= 8 && passphrase.size() <= 63;
}

}  // namespace hx
