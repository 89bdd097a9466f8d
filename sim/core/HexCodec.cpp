#include "sim/core/HexCodec.h"

namespace hxsim {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int HexTextToBytes(const char* text, unsigned char* out, int count) {
    if (text == nullptr || out == nullptr || count < 0) return -1;
    int written = 0;
    const char* p = text;
    while (written < count) {
        while (*p == ' ') ++p;
        const int high = HexDigitValue(*p);
        if (high < 0) break;
        ++p;
        const int low = HexDigitValue(*p);
        if (low < 0) {
            out[written++] = static_cast<unsigned char>(high);
            break;
        }
        ++p;
        out[written++] = static_cast<unsigned char>(high * 16 + low);
    }
    const int fromText = written;
    while (written < count) out[written++] = 0;
    return fromText;
}

int BytesToHexText(const unsigned char* bytes, char* out, int count, bool separated) {
    if (bytes == nullptr || out == nullptr || count < 0) return -1;
    static const char digits[] = "0123456789ABCDEF";
    int length = 0;
    for (int i = 0; i < count; ++i) {
        if (separated && i > 0) out[length++] = ' ';
        out[length++] = digits[bytes[i] >> 4];
        out[length++] = digits[bytes[i] & 0x0F];
    }
    out[length] = '\0';
    return length;
}

}  // namespace hxsim
