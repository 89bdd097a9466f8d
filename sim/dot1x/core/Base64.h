// Base64 (RFC 4648, with padding) for the PEM files the library writes and reads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hxsup {

// Lines of at most 64 characters, each ended by "\n".
std::string Base64Encode(std::span<const uint8_t> bytes);
// Ignores line breaks and other white space; nullopt for any other stray character or a
// wrong length or padding.
std::optional<std::vector<uint8_t>> Base64Decode(std::string_view text);

}  // namespace hxsup
