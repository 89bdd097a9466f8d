#include "sim/core/AirCapture.h"

#include <algorithm>
#include <ctime>

#include "adapter/LittleEndian.h"
#include "sim/core/BeaconElements.h"

namespace hxsim {
namespace {

constexpr uint32_t kPcapMagic = 0xA1B2C3D4;
constexpr uint32_t kLinkType80211 = 105;
constexpr uint32_t kSnapLength = 65535;
constexpr size_t kFileHeaderSize = 24, kRecordHeaderSize = 16;
constexpr uint8_t kLlcSnapEapol[] = {0xAA, 0xAA, 0x03, 0x00, 0x00, 0x00, 0x88, 0x8E};
constexpr uint8_t kDataFrame = 0x08;  // type 2, subtype 0
constexpr uint8_t kToDs = 0x01, kFromDs = 0x02;

// Supported rates (the first eight) and extended supported rates (the rest).
void PutRates(std::vector<uint8_t>& out, std::span<const uint8_t> rates) {
    const size_t first = std::min<size_t>(rates.size(), 8);
    AppendElement(out, ElementId::SupportedRates, rates.first(first));
    if (rates.size() > first) AppendElement(out, ElementId::ExtendedSupportedRates, rates.subspan(first));
}

}  // namespace

bool AirCapture::Open(const std::string& path, size_t limitBytes) {
    Close();
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) return false;
    path_ = path;
    limit_ = std::max(limitBytes, kFileHeaderSize);
    full_ = false;
    epochSeconds_ = static_cast<int64_t>(std::time(nullptr));
    std::vector<uint8_t> header;
    hx::AppendLe<uint32_t>(header, kPcapMagic);
    hx::AppendLe<uint16_t>(header, 2);  // format 2.4
    hx::AppendLe<uint16_t>(header, 4);
    hx::AppendLe<uint32_t>(header, 0);  // time zone: UTC
    hx::AppendLe<uint32_t>(header, 0);  // accuracy
    hx::AppendLe<uint32_t>(header, kSnapLength);
    hx::AppendLe<uint32_t>(header, kLinkType80211);
    written_ = std::fwrite(header.data(), 1, header.size(), file_.get());
    std::fflush(file_.get());
    return written_ == header.size();
}

void AirCapture::Close() {
    file_.reset();
    written_ = 0;
}

std::vector<uint8_t> AirCapture::Header(uint8_t frameControl, uint8_t flags, const Mac& a1, const Mac& a2,
                                        const Mac& a3) {
    std::vector<uint8_t> frame{frameControl, flags, 0, 0};  // duration 0
    for (const Mac* address : {&a1, &a2, &a3}) frame.insert(frame.end(), address->begin(), address->end());
    sequence_ = static_cast<uint16_t>((sequence_ + 1) & 0x0FFF);
    hx::AppendLe<uint16_t>(frame, static_cast<uint16_t>(sequence_ << 4));
    return frame;
}

void AirCapture::Management(Millis at, uint8_t subtype, const Mac& to, const Mac& from, const Mac& bssid,
                            const std::vector<uint8_t>& body) {
    std::vector<uint8_t> frame = Header(static_cast<uint8_t>(subtype << 4), 0, to, from, bssid);
    frame.insert(frame.end(), body.begin(), body.end());
    Write(at, frame);
}

void AirCapture::Eapol(Millis at, const Mac& bssid, const Mac& station, bool fromAccessPoint, const uint8_t* pdu,
                       size_t length) {
    // To the station: DA, BSSID, SA; to the access point: BSSID, SA, DA.
    std::vector<uint8_t> frame = fromAccessPoint ? Header(kDataFrame, kFromDs, station, bssid, bssid)
                                                 : Header(kDataFrame, kToDs, bssid, station, bssid);
    frame.insert(frame.end(), kLlcSnapEapol, kLlcSnapEapol + sizeof kLlcSnapEapol);
    frame.insert(frame.end(), pdu, pdu + length);
    Write(at, frame);
}

void AirCapture::Write(Millis at, const std::vector<uint8_t>& frame) {
    if (!file_ || full_) return;
    if (written_ + kRecordHeaderSize + frame.size() > limit_) {
        full_ = true;
        return;
    }
    std::vector<uint8_t> record;
    const Millis ms = std::max<Millis>(at, 0);
    hx::AppendLe<uint32_t>(record, static_cast<uint32_t>(epochSeconds_ + ms / 1000));
    hx::AppendLe<uint32_t>(record, static_cast<uint32_t>(ms % 1000 * 1000));
    hx::AppendLe<uint32_t>(record, static_cast<uint32_t>(frame.size()));
    hx::AppendLe<uint32_t>(record, static_cast<uint32_t>(frame.size()));
    record.insert(record.end(), frame.begin(), frame.end());
    written_ += std::fwrite(record.data(), 1, record.size(), file_.get());
    std::fflush(file_.get());  // readable while the world runs, and whole if the program is ended
}

std::vector<uint8_t> AuthenticationBody(uint16_t sequence, uint16_t status) {
    std::vector<uint8_t> body;
    hx::AppendLe<uint16_t>(body, 0);  // open system
    hx::AppendLe<uint16_t>(body, sequence);
    hx::AppendLe<uint16_t>(body, status);
    return body;
}

std::vector<uint8_t> AssociationRequestBody(uint16_t capability, const std::string& ssid,
                                            const std::vector<uint8_t>& rates,
                                            const std::vector<uint8_t>& securityElement) {
    std::vector<uint8_t> body;
    hx::AppendLe<uint16_t>(body, capability);
    hx::AppendLe<uint16_t>(body, 10);  // listen interval, in beacon intervals
    AppendElement(body, ElementId::Ssid,
                  std::span(reinterpret_cast<const uint8_t*>(ssid.data()), std::min<size_t>(ssid.size(), 32)));
    PutRates(body, rates);
    body.insert(body.end(), securityElement.begin(), securityElement.end());
    return body;
}

std::vector<uint8_t> AssociationResponseBody(uint16_t capability, uint16_t status, uint16_t aid,
                                             const std::vector<uint8_t>& rates) {
    std::vector<uint8_t> body;
    hx::AppendLe<uint16_t>(body, capability);
    hx::AppendLe<uint16_t>(body, status);
    hx::AppendLe<uint16_t>(body, static_cast<uint16_t>(status == 0 ? 0xC000 | aid : 0));
    PutRates(body, rates);
    return body;
}

}  // namespace hxsim
