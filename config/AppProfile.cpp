#include "config/AppProfile.h"

namespace hx {

std::string NormaliseSection(std::string_view section) {
    std::string result;
    std::string part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!result.empty()) result += '\\';
        result += part;
        part.clear();
    };
    for (char c : section) {
        if (c == '\\') {
            flush();
        } else {
            part += c;
        }
    }
    flush();
    return result;
}

}  // namespace hx
