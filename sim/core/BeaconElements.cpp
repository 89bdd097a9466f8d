#include "sim/core/BeaconElements.h"

#include <algorithm>

#include "adapter/LittleEndian.h"

namespace hxsim {
namespace {

constexpr uint8_t kWpaOui[3] = {0x00, 0x50, 0xF2};
constexpr uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};

void PutSuite(std::vector<uint8_t>& out, const uint8_t (&oui)[3], uint8_t type) {
    out.insert(out.end(), oui, oui + 3);
    out.push_back(type);
}

void PutSuites(std::vector<uint8_t>& body, const SecurityElement& e, const uint8_t (&oui)[3]) {
    PutSuite(body, oui, e.groupCipher);
    hx::AppendLe<uint16_t>(body, static_cast<uint16_t>(e.pairwiseCiphers.size()));
    for (uint8_t c : e.pairwiseCiphers) PutSuite(body, oui, c);
    hx::AppendLe<uint16_t>(body, static_cast<uint16_t>(e.akms.size()));
    for (uint8_t a : e.akms) PutSuite(body, oui, a);
}

void PutElement(std::vector<uint8_t>& out, uint8_t id, const std::vector<uint8_t>& body) { AppendElement(out, id, body); }

}  // namespace

void AppendElement(std::vector<uint8_t>& out, uint8_t id, std::span<const uint8_t> body) {
    out.push_back(id);
    out.push_back(static_cast<uint8_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

bool HasOfdmRates(const std::vector<uint8_t>& rates) {
    return std::any_of(rates.begin(), rates.end(), [](uint8_t r) {
        const uint8_t v = r & 0x7F;
        return v != 2 && v != 4 && v != 11 && v != 22 && v != 0;
    });
}

uint16_t CapabilityOf(const NetworkSpec& network) {
    uint16_t cap = network.adhoc ? Capability::Ibss : Capability::Ess;
    if (network.privacy) cap |= Capability::Privacy;
    cap |= Capability::ShortPreamble;
    if (HasOfdmRates(network.rates) && !network.adhoc) cap |= Capability::ShortSlotTime;
    return cap;
}

std::vector<uint8_t> WpaElement(const SecurityElement& element) {
    std::vector<uint8_t> body(kWpaOui, kWpaOui + 3);
    body.push_back(0x01);  // WPA information element
    hx::AppendLe<uint16_t>(body, 1);  // version
    PutSuites(body, element, kWpaOui);
    std::vector<uint8_t> out;
    PutElement(out, ElementId::Vendor, body);
    return out;
}

std::vector<uint8_t> RsnElement(const SecurityElement& element) {
    std::vector<uint8_t> body;
    hx::AppendLe<uint16_t>(body, 1);
    PutSuites(body, element, kRsnOui);
    hx::AppendLe<uint16_t>(body, element.capabilities);
    if (element.capabilities & RsnCapability::MfpCapable) {
        // Protected management frames name their group cipher after an empty PMKID list.
        hx::AppendLe<uint16_t>(body, 0);
        PutSuite(body, kRsnOui, Suite::BipCmac128);
    }
    std::vector<uint8_t> out;
    PutElement(out, ElementId::Rsn, body);
    return out;
}

std::optional<SecurityElement> ReadSecurityElement(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[1] + 2u > bytes.size()) return std::nullopt;
    const auto e = bytes.first(bytes[1] + 2u);  // what follows the element is not read
    const bool rsn = e[0] == ElementId::Rsn;
    const uint8_t(&oui)[3] = rsn ? kRsnOui : kWpaOui;
    size_t at = 2;
    if (!rsn) {
        if (e[0] != ElementId::Vendor || e.size() < 6 || !std::equal(kWpaOui, kWpaOui + 3, e.begin() + 2) ||
            e[5] != 0x01)
            return std::nullopt;
        at = 6;
    }
    if (at + 2 > e.size() || hx::GetLe16(&e[at]) != 1) return std::nullopt;  // version 1
    at += 2;
    const auto suite = [&](uint8_t& type) {
        if (at + 4 > e.size()) return false;
        type = std::equal(oui, oui + 3, e.begin() + static_cast<std::ptrdiff_t>(at)) ? e[at + 3] : 0;
        at += 4;
        return true;
    };
    const auto list = [&](std::vector<uint8_t>& out) {
        if (at + 2 > e.size()) return false;
        const int count = hx::GetLe16(&e[at]);
        at += 2;
        for (int i = 0; i < count; ++i) {
            uint8_t type = 0;
            if (!suite(type)) return false;
            out.push_back(type);
        }
        return true;
    };
    SecurityElement s;
    s.present = true;
    if (!suite(s.groupCipher) || !list(s.pairwiseCiphers) || !list(s.akms)) return std::nullopt;
    if (rsn && at + 2 <= e.size()) s.capabilities = hx::GetLe16(&e[at]);
    return s;
}

std::vector<uint8_t> BeaconElements(const NetworkSpec& network, uint64_t timestampUs) {
    std::vector<uint8_t> out;
    hx::AppendLe<uint64_t>(out, timestampUs);
    hx::AppendLe<uint16_t>(out, static_cast<uint16_t>(network.beaconInterval));
    hx::AppendLe<uint16_t>(out, CapabilityOf(network));

    const std::string ssid = network.hidden ? std::string() : network.ssid;
    PutElement(out, ElementId::Ssid, std::vector<uint8_t>(ssid.begin(), ssid.end()));
    const size_t first = std::min<size_t>(network.rates.size(), 8);
    PutElement(out, ElementId::SupportedRates,
               std::vector<uint8_t>(network.rates.begin(), network.rates.begin() + first));
    PutElement(out, ElementId::DsParameterSet, {static_cast<uint8_t>(network.channel)});
    if (network.adhoc) PutElement(out, ElementId::IbssParameterSet, {0x00, 0x00});  // ATIM window
    if (HasOfdmRates(network.rates)) PutElement(out, ElementId::Erp, {0x00});
    if (network.rates.size() > 8)
        PutElement(out, ElementId::ExtendedSupportedRates,
                   std::vector<uint8_t>(network.rates.begin() + 8, network.rates.end()));
    if (network.rsn.present) {
        const auto rsn = RsnElement(network.rsn);
        out.insert(out.end(), rsn.begin(), rsn.end());
    }
    for (const auto& vendor : network.vendorElements) PutElement(out, ElementId::Vendor, vendor);
    if (network.wpa.present) {
        const auto wpa = WpaElement(network.wpa);
        out.insert(out.end(), wpa.begin(), wpa.end());
    }
    return out;
}

}  // namespace hxsim
