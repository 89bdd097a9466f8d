// The simulated air as a capture file that network analysers read: pcap, link type 105
// (802.11 frames without a radio header or FCS). The world writes the frames a monitor next
// to the adapter would hear: beacons when a scan completes, and for every join the probe
// response, the open system authentication, the association request and response, then
// every EAPOL frame between the station and the access point as a data frame with its
// LLC/SNAP header (AA AA 03 00 00 00 88 8E). Each record is stamped with the world's time.
//
// The file is bounded: once the next record would take it past its limit, nothing more is
// written and Full() says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim/core/Clock.h"
#include "sim/core/Scenario.h"

namespace hxsim {

namespace Frame80211 {
constexpr uint8_t AssociationRequest = 0, AssociationResponse = 1, ProbeResponse = 5, Beacon = 8,
                  Authentication = 11;
}

class AirCapture {
public:
    static constexpr size_t kDefaultLimit = 16u << 20;

    // Opens (and empties) the file and writes the pcap header; false when it cannot be
    // written. limitBytes bounds the whole file, header included.
    bool Open(const std::string& path, size_t limitBytes = kDefaultLimit);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    bool Full() const { return full_; }
    const std::string& Path() const { return path_; }
    size_t Written() const { return written_; }

    // A management frame of this subtype with the body given.
    void Management(Millis at, uint8_t subtype, const Mac& to, const Mac& from, const Mac& bssid,
                    const std::vector<uint8_t>& body);
    // An EAPOL PDU in a data frame between the access point (bssid) and the station.
    void Eapol(Millis at, const Mac& bssid, const Mac& station, bool fromAccessPoint, const uint8_t* pdu,
               size_t length);

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::vector<uint8_t> Header(uint8_t frameControl, uint8_t flags, const Mac& a1, const Mac& a2, const Mac& a3);
    void Write(Millis at, const std::vector<uint8_t>& frame);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    size_t limit_ = kDefaultLimit;
    size_t written_ = 0;
    bool full_ = false;
    uint16_t sequence_ = 0;
    int64_t epochSeconds_ = 0;   // the wall clock when the capture began; the world's time counts from it
};

// The bodies of the management frames.
std::vector<uint8_t> AuthenticationBody(uint16_t sequence, uint16_t status);
// Capability, listen interval, SSID, the station's rates and its security element (RSN or
// WPA; empty for none).
std::vector<uint8_t> AssociationRequestBody(uint16_t capability, const std::string& ssid,
                                            const std::vector<uint8_t>& rates,
                                            const std::vector<uint8_t>& securityElement);
std::vector<uint8_t> AssociationResponseBody(uint16_t capability, uint16_t status, uint16_t aid,
                                             const std::vector<uint8_t>& rates);

}  // namespace hxsim
