// The records the supplicant receives, written out byte by byte for comparison.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "auth/SupplicantRecords.h"

namespace hx::test {

// Zeros everywhere but the texts (with their NUL) and numbers put in.
class RecordImage {
public:
    explicit RecordImage(size_t size) : bytes_(size, 0) {}
    RecordImage& Text(size_t offset, const std::string& text) {
        std::memcpy(&bytes_[offset], text.c_str(), text.size() + 1);
        return *this;
    }
    RecordImage& Le32(size_t offset, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

template <typename T>
std::vector<uint8_t> BytesOf(const T& record) {
    const auto* p = reinterpret_cast<const uint8_t*>(&record);
    return std::vector<uint8_t>(p, p + sizeof record);
}

inline std::vector<uint8_t> EapTlsImage(const std::string& identity) {
    return RecordImage(sizeof(EapConfigRecord))
        .Text(0x000, identity)
        .Text(0x100, "QoRTV")
        .Text(0x1FF, "caroot.pem")
        .Text(0x3FF, "ReZID.pem")
        .Text(0x9FF, "ReZID_key.pem")
        .Text(0xBFF, "EAP")
        .Text(0xC63, "TLS")
        .Le32(0xC88, 1398)
        .Text(0xC8C, ".rand")
        .bytes();
}

inline std::vector<uint8_t> PeapImage(const std::string& identity, const std::string& password) {
    return RecordImage(sizeof(EapConfigRecord))
        .Text(0x000, identity)
        .Text(0x100, password)
        .Text(0x1FF, "caroot.pem")
        .Text(0xBFF, "EAP")
        .Text(0xC63, "PEAP")
        .Le32(0xC88, 1398)
        .Text(0xC8C, ".rand")
        .Text(0x128C, "MS-CHAPv2")
        .Text(0x12BE, identity)
        .bytes();
}

}  // namespace hx::test
