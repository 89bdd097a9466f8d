// Small helpers shared by the supplicant's tests.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "sim/dot1x/core/EapolPort.h"

namespace suptest {

inline std::vector<uint8_t> FromHex(std::string_view text) {
    std::vector<uint8_t> out;
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    return out;
}

inline std::string ToHex(const uint8_t* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

template <typename Container>
std::string ToHex(const Container& c) { return ToHex(c.data(), c.size()); }

// A port whose peer is the test: frames queued by the test arrive one per Receive; what
// the supplicant sends is kept. Shared state lives outside so the test keeps it after
// handing the port over.
struct PortLog {
    std::deque<std::vector<uint8_t>> inbound;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<int> timeouts;
    bool sendFails = false;
    bool receiveFails = false;
};

class ScriptedPort final : public hxsup::EapolPort {
public:
    explicit ScriptedPort(PortLog& log) : log_(log) {}
    bool Send(std::span<const uint8_t> pdu) override {
        if (log_.sendFails) return false;
        log_.sent.emplace_back(pdu.begin(), pdu.end());
        return true;
    }
    int Receive(std::span<uint8_t> buffer, int timeoutMs) override {
        log_.timeouts.push_back(timeoutMs);
        if (log_.receiveFails) return -1;
        if (log_.inbound.empty()) return 0;
        auto frame = std::move(log_.inbound.front());
        log_.inbound.pop_front();
        if (frame.size() > buffer.size()) return -1;
        std::copy(frame.begin(), frame.end(), buffer.begin());
        return static_cast<int>(frame.size());
    }

private:
    PortLog& log_;
};

}  // namespace suptest
