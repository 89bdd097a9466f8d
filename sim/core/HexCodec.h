// The driver library's hexadecimal text conversions.
#pragma once

namespace hxsim {

// The value of one hexadecimal digit (either case), -1 for any other character.
int HexDigitValue(char c);

// Reads pairs of hexadecimal digits (either case), skipping spaces, and writes exactly
// count bytes: the bytes read, then zeros once the text ends. A digit left alone at the
// end of the text is a byte of its own (its value). Any other character ends the text.
// Returns the number of bytes taken from the text, or -1 for a null pointer or a
// negative count.
int HexTextToBytes(const char* text, unsigned char* out, int count);

// Two upper-case hexadecimal digits a byte; when separated, a space after every byte but
// the last. Writes a terminating zero; out must hold 3 * count bytes (1 for count 0).
// Returns the text length, or -1 for a null pointer or a negative count.
int BytesToHexText(const unsigned char* bytes, char* out, int count, bool separated);

}  // namespace hxsim
