#include "config/ShownText.h"

#include <cstdint>

namespace hx {
namespace {

// The length of the valid UTF-8 character at the start of text (its code point in
// codePoint), or 0 when the bytes there are not one (overlong, a surrogate, past U+10FFFF).
size_t Utf8Character(std::string_view text, uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, least = 0x80, codePoint = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, least = 0x800, codePoint = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, least = 0x10000, codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = codePoint << 6 | (next & 0x3Fu);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

bool SteersDisplay(uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string ShownText(std::string_view text, size_t maxBytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        uint32_t codePoint = 0;
        const size_t length = Utf8Character(text.substr(at), codePoint);
        std::string piece;
        if (length == 0 || SteersDisplay(codePoint)) {
            for (size_t i = 0; i < (length == 0 ? 1 : length); ++i) {
                const auto byte = static_cast<unsigned char>(text[at + i]);
                piece += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
            }
        } else if (text[at] == '\\') {
            piece = "\\\\";
        } else {
            piece = text.substr(at, length);
        }
        if (out.size() + piece.size() > maxBytes) break;
        out += piece;
        at += length == 0 ? 1 : length;
    }
    return out;
}

}  // namespace hx
