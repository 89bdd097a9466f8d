// Text from the air, a file or the pipe made safe to show: on a console, in the tray
// tooltip and in the balloon. An SSID is 32 bytes of anything; shown raw, a run of
// terminal sequences clears or retitles the user's console.
#pragma once

#include <string>
#include <string_view>

namespace hx {

// The text with every byte that could steer a display written as \xNN (two upper-case hex
// digits): the control characters (0x00 to 0x1F, 0x7F, and U+0080 to U+009F), the marks
// that turn the direction of text (U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069),
// each byte of those characters, and each byte that is not part of valid UTF-8. The
// backslash itself is written \\, so the escape is unambiguous; everything else, valid
// UTF-8 text in any script, stays as it is. At most maxBytes long: what does not fit is
// left off whole (never half an escape or half a character).
std::string ShownText(std::string_view text, size_t maxBytes = std::string::npos);

}  // namespace hx
