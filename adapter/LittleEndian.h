// Little-endian integers in byte buffers: how the driver library's survey list and key
// record, the supplicant's records and the 802.11 information elements store them.
// Callers check that the bytes are there; these only put them together.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hx {

template <std::unsigned_integral T>
constexpr T GetLe(const uint8_t* bytes) {
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value | static_cast<T>(bytes[i]) << (8 * i));
    return value;
}

template <std::unsigned_integral T>
constexpr void PutLe(uint8_t* bytes, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <std::unsigned_integral T>
void AppendLe(std::vector<uint8_t>& out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

constexpr uint16_t GetLe16(const uint8_t* bytes) { return GetLe<uint16_t>(bytes); }
constexpr uint32_t GetLe32(const uint8_t* bytes) { return GetLe<uint32_t>(bytes); }
constexpr void PutLe32(uint8_t* bytes, uint32_t value) { PutLe<uint32_t>(bytes, value); }

}  // namespace hx
