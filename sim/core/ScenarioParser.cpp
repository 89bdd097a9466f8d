#include "sim/core/ScenarioParser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

#include "sim/core/TextUtil.h"

namespace hxsim {
namespace {

std::optional<bool> ParseBool(std::string_view v) {
    const std::string s = Lower(v);
    if (s == "yes" || s == "true" || s == "1" || s == "on") return true;
    if (s == "no" || s == "false" || s == "0" || s == "off") return false;
    return std::nullopt;
}

std::optional<uint8_t> ParseCipher(std::string_view v) {
    const std::string s = Lower(v);
    if (s == "tkip") return Suite::Tkip;
    if (s == "ccmp" || s == "aes") return Suite::Ccmp;
    if (s == "wep40") return Suite::Wep40;
    if (s == "wep104") return Suite::Wep104;
    return std::nullopt;
}

class Parser {
public:
    ParseResult Run(std::string_view text) {
        std::istringstream in{std::string(text)};
        std::string line;
        while (std::getline(in, line)) {
            ++lineNo_;
            std::string_view l = Trim(line);
            if (l.empty() || l[0] == '#' || l[0] == ';') continue;
            if (l.front() == '[') {
                if (l.back() != ']') return Fail("section header without ']'");
                if (!FinishSection()) return Fail(error_);
                section_ = Lower(Trim(l.substr(1, l.size() - 2)));
                if (!StartSection()) return Fail("unknown section [" + section_ + "]");
                continue;
            }
            const auto eq = l.find('=');
            if (eq == std::string_view::npos) return Fail("expected key = value");
            const std::string key = Lower(Trim(l.substr(0, eq)));
            const std::string value(Trim(l.substr(eq + 1)));
            if (!Assign(key, value)) return Fail(error_.empty() ? "bad value for " + key : error_);
        }
        if (!FinishSection()) return Fail(error_);
        if (!Validate()) return Fail(error_);
        ParseResult result;
        result.scenario = scenario_;
        return result;
    }

private:
    ParseResult Fail(const std::string& message) {
        ParseResult result;
        result.error = "line " + std::to_string(lineNo_) + ": " + message;
        return result;
    }

    bool StartSection() {
        if (section_ == "world" || section_ == "timing" || section_ == "adapter" || section_ == "server")
            return true;
        if (section_ == "nic") { nic_ = NicEntry{}; return true; }
        if (section_ == "network") { network_ = NetworkSpec{}; security_ = "open"; cipher_.reset(); group_.reset(); akms_.clear(); mfp_ = 0; return true; }
        if (section_ == "certificate") { certificate_ = CertificateSpec{}; return true; }
        if (section_ == "user") { user_ = EapUser{}; return true; }
        return false;
    }

    bool FinishSection() {
        if (section_ == "nic") scenario_.nics.push_back(nic_);
        else if (section_ == "certificate") scenario_.certificates.push_back(certificate_);
        else if (section_ == "user") scenario_.users.push_back(user_);
        else if (section_ == "network") {
            if (!FinishNetwork()) return false;
            scenario_.networks.push_back(network_);
        }
        section_.clear();
        return true;
    }

    bool FinishNetwork() {
        NetworkSpec& n = network_;
        if (n.ssid.size() > 32) return Err("SSID longer than 32 bytes");
        if (n.channel < 1 || n.channel > 14) return Err("channel out of 1-14");
        if (n.rates.empty()) {
            n.rates = n.adhoc ? std::vector<uint8_t>{0x82, 0x84, 0x8B, 0x96}
                              : std::vector<uint8_t>{0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24,
                                                     0x30, 0x48, 0x60, 0x6C};
        }
        const uint8_t pairwise = cipher_.value_or(Suite::Tkip);
        const uint8_t group = group_.value_or(pairwise);
        const std::vector<uint8_t> pairwiseList =
            extraPairwise_.empty() ? std::vector<uint8_t>{pairwise} : extraPairwise_;
        extraPairwise_.clear();
        auto element = [&](uint8_t akm) {
            SecurityElement e;
            e.present = true;
            e.groupCipher = group;
            e.pairwiseCiphers = pairwiseList;
            e.akms = {akm};
            return e;
        };
        if (security_ == "open") {
            n.privacy = false;
        } else if (security_ == "wep") {
            n.privacy = true;
        } else if (security_ == "wpa-psk" || security_ == "wpa-eap") {
            n.privacy = true;
            n.wpa = element(security_ == "wpa-psk" ? Suite::AkmPsk : Suite::Akm8021X);
        } else if (security_ == "rsn-psk" || security_ == "rsn-eap") {
            n.privacy = true;
            n.rsn = element(security_ == "rsn-psk" ? Suite::AkmPsk : Suite::Akm8021X);
        } else if (security_ == "wpa-rsn-psk" || security_ == "wpa-rsn-eap") {
            n.privacy = true;
            const uint8_t akm = security_ == "wpa-rsn-psk" ? Suite::AkmPsk : Suite::Akm8021X;
            n.wpa = element(akm);
            n.rsn = element(akm);
        } else {
            return Err("unknown security " + security_);
        }
        if ((!akms_.empty() || mfp_ != 0) && !n.rsn.present)
            return Err("akm and mfp need an RSN network (rsn-* or wpa-rsn-*)");
        if (!akms_.empty()) n.rsn.akms = akms_;
        n.rsn.capabilities = mfp_;
        const auto takesPassphrase = [](const SecurityElement& e) {
            return std::any_of(e.akms.begin(), e.akms.end(), [](uint8_t a) {
                return a == Suite::AkmPsk || a == Suite::AkmPskSha256 || a == Suite::AkmSae;
            });
        };
        const bool psk = takesPassphrase(n.wpa) || takesPassphrase(n.rsn);
        if (psk && n.passphrase.empty() && n.psk.empty()) return Err("a PSK network needs passphrase or psk");
        if (!n.passphrase.empty() && (n.passphrase.size() < 8 || n.passphrase.size() > 63))
            return Err("passphrase must have 8 to 63 characters");
        return true;
    }

    bool Err(const std::string& message) {
        error_ = message;
        return false;
    }

    template <typename T>
    bool Set(T& target, const std::optional<T>& value) {
        if (!value) return false;
        target = *value;
        return true;
    }

    bool SetInt(int& target, const std::string& v, long long lo, long long hi) {
        const auto value = ParseInteger(v);
        if (!value || *value < lo || *value > hi) return false;
        target = static_cast<int>(*value);
        return true;
    }

    bool SetBool(bool& target, const std::string& v) { return Set(target, ParseBool(v)); }

    bool Assign(const std::string& key, const std::string& v) {
        if (section_.empty()) return Err("key outside a section");
        if (section_ == "world") {
            if (key == "wzc-status") return SetInt(scenario_.wzcStatus, v, 0, 2);
            if (key == "seed") {
                const auto value = ParseInteger(v);
                if (!value || *value < 0) return false;
                scenario_.seed = static_cast<uint32_t>(*value);
                return true;
            }
        } else if (section_ == "timing") {
            Timing& t = scenario_.timing;
            const std::map<std::string, int*> fields{
                {"scan", &t.scanMs}, {"scan-jitter", &t.scanJitterMs}, {"associate", &t.associateMs},
                {"reconnect", &t.reconnectMs}, {"handshake-timeout", &t.handshakeTimeoutMs},
                {"retransmit", &t.retransmitMs}, {"eap-timeout", &t.eapTimeoutMs},
                {"group-rekey", &t.groupRekeyMs}};
            if (auto it = fields.find(key); it != fields.end()) return SetInt(*it->second, v, 0, 3600000);
            if (key == "link-loss") return SetInt(t.linkLossDbm, v, -120, 0);
        } else if (section_ == "adapter") {
            AdapterSpec& a = scenario_.adapter;
            if (key == "mac") return Set(a.mac, ParseMac(v));
            if (key == "driver-version") {
                const auto value = ParseInteger(v);
                if (!value || *value < 0 || *value > 0xFFFFFFFFLL) return false;
                a.driverVersion = static_cast<uint32_t>(*value);
                return true;
            }
            if (key == "rates") {
                const auto bytes = ParseHexBytes(v);
                if (!bytes || bytes->empty() || bytes->size() > 16) return false;
                a.rates = {};
                for (size_t i = 0; i < bytes->size(); ++i) a.rates[i] = (*bytes)[i];
                return true;
            }
            if (key == "factory-region") return SetInt(a.factoryRegion, v, 0, 255);
            if (key == "plugged") return SetBool(a.plugged, v);
        } else if (section_ == "nic") {
            if (key == "name") { nic_.name = v; return v.size() < 260; }
            if (key == "description") { nic_.description = v; return v.size() < 260; }
            if (key == "instance") { nic_.instanceKey = v; return v.size() <= 4; }
            if (key == "device-id") { nic_.matchingDeviceId = v; return true; }
            if (key == "adapter") return SetBool(nic_.isSimulatedAdapter, v);
            if (key == "opens") return SetBool(nic_.opens, v);
        } else if (section_ == "network") {
            return AssignNetwork(key, v);
        } else if (section_ == "certificate") {
            if (key == "store") {
                certificate_.store = Upper(v);
                return certificate_.store == "MY" || certificate_.store == "ROOT";
            }
            if (key == "subject") { certificate_.subject = v; return v.size() < 256; }
            if (key == "issuer") { certificate_.issuer = v; return v.size() < 256; }
            if (key == "key") {
                const auto bytes = ParseHexBytes(v);
                if (!bytes || bytes->size() != 32) return Err("key must be 32 bytes of hex");
                std::copy(bytes->begin(), bytes->end(), certificate_.key.begin());
                certificate_.hasPrivateKey = true;
                return true;
            }
            if (key == "exportable") return SetBool(certificate_.exportable, v);
        } else if (section_ == "user") {
            if (key == "identity") { user_.identity = v; return true; }
            if (key == "password") { user_.password = v; return true; }
            if (key == "certificate") { user_.certificateSubject = v; return true; }
            if (key == "methods") {
                user_.allowTls = user_.allowPeap = false;
                for (const std::string& m : SplitWords(Lower(v))) {
                    if (m == "tls") user_.allowTls = true;
                    else if (m == "peap") user_.allowPeap = true;
                    else return false;
                }
                return true;
            }
        } else if (section_ == "server") {
            if (key == "subject") { scenario_.server.certificateSubject = v; return true; }
            if (key == "issuer") { scenario_.server.certificateIssuer = v; return true; }
        }
        return Err("unknown key " + key + " in [" + section_ + "]");
    }

    bool AssignNetwork(const std::string& key, const std::string& v) {
        NetworkSpec& n = network_;
        if (key == "ssid") { n.ssid = v; return true; }
        if (key == "bssid") return Set(n.bssid, ParseMac(v));
        if (key == "mode") {
            const std::string m = Lower(v);
            if (m == "infrastructure") n.adhoc = false;
            else if (m == "adhoc" || m == "ad-hoc") n.adhoc = true;
            else return false;
            return true;
        }
        if (key == "channel") return SetInt(n.channel, v, 1, 14);
        if (key == "rssi") return SetInt(n.meanRssi, v, -120, 0);
        if (key == "drift") return SetInt(n.driftDb, v, 0, 20);
        if (key == "hidden") return SetBool(n.hidden, v);
        if (key == "beacon-interval") return SetInt(n.beaconInterval, v, 1, 65535);
        if (key == "rates") {
            const auto bytes = ParseHexBytes(v);
            if (!bytes || bytes->empty() || bytes->size() > 16) return false;
            n.rates = *bytes;
            return true;
        }
        if (key == "security") { security_ = Lower(v); return true; }
        if (key == "cipher") {
            extraPairwise_.clear();
            for (const std::string& word : SplitWords(v)) {
                const auto c = ParseCipher(word);
                if (!c) return false;
                extraPairwise_.push_back(*c);
            }
            if (extraPairwise_.empty()) return false;
            cipher_ = extraPairwise_.front();
            if (extraPairwise_.size() == 1) extraPairwise_.clear();
            return true;
        }
        if (key == "akm") {
            akms_.clear();
            for (const std::string& word : SplitWords(Lower(v))) {
                if (word == "psk") akms_.push_back(Suite::AkmPsk);
                else if (word == "psk-sha256") akms_.push_back(Suite::AkmPskSha256);
                else if (word == "eap") akms_.push_back(Suite::Akm8021X);
                else if (word == "sae") akms_.push_back(Suite::AkmSae);
                else return false;
            }
            return !akms_.empty();
        }
        if (key == "mfp") {
            const std::string m = Lower(v);
            if (m == "no") mfp_ = 0;
            else if (m == "capable") mfp_ = RsnCapability::MfpCapable;
            else if (m == "required") mfp_ = RsnCapability::MfpCapable | RsnCapability::MfpRequired;
            else return false;
            return true;
        }
        if (key == "group-cipher") {
            const auto c = ParseCipher(v);
            if (!c) return false;
            group_ = *c;
            return true;
        }
        if (key == "wep-auth") {
            const std::string m = Lower(v);
            if (m == "open") n.wepAuth = WepAuth::Open;
            else if (m == "shared") n.wepAuth = WepAuth::Shared;
            else if (m == "both") n.wepAuth = WepAuth::Both;
            else return false;
            return true;
        }
        if (key.rfind("wep-key", 0) == 0 && key.size() == 8 && key[7] >= '0' && key[7] <= '3') {
            const auto bytes = ParseHexBytes(v);
            if (!bytes || (bytes->size() != 5 && bytes->size() != 13 && bytes->size() != 29))
                return Err("a WEP key has 5, 13 or 29 bytes");
            n.wepKeys[key[7] - '0'] = *bytes;
            return true;
        }
        if (key == "wep-tx-key") return SetInt(n.wepTxKey, v, 0, 3);
        if (key == "passphrase") { n.passphrase = v; return true; }
        if (key == "psk") {
            const auto bytes = ParseHexBytes(v);
            if (!bytes || bytes->size() != 32) return Err("psk must be 32 bytes of hex");
            n.psk = *bytes;
            return true;
        }
        if (key == "vendor-element") {
            const auto bytes = ParseHexBytes(v);
            if (!bytes || bytes->size() < 3 || bytes->size() > 255) return Err("vendor-element needs 3 to 255 bytes");
            n.vendorElements.push_back(*bytes);
            return true;
        }
        return Err("unknown key " + key + " in [network]");
    }

    bool Validate() {
        int simulated = 0;
        for (const NicEntry& nic : scenario_.nics) {
            if (nic.instanceKey.empty()) return Err("a [nic] needs an instance");
            if (nic.isSimulatedAdapter) ++simulated;
        }
        if (simulated > 1) return Err("only one [nic] can be the simulated adapter");
        for (const EapUser& user : scenario_.users) {
            if (user.identity.empty()) return Err("a [user] needs an identity");
            if (!user.allowTls && !user.allowPeap) return Err("user " + user.identity + " allows no method");
        }
        return true;
    }

    Scenario scenario_;
    std::string section_;
    std::string error_;
    int lineNo_ = 0;
    NicEntry nic_;
    NetworkSpec network_;
    std::string security_;
    std::optional<uint8_t> cipher_, group_;
    std::vector<uint8_t> extraPairwise_;
    std::vector<uint8_t> akms_;       // replaces the RSN element's AKM that security implies
    uint16_t mfp_ = 0;
    CertificateSpec certificate_;
    EapUser user_;
};

}  // namespace

ParseResult ParseScenario(std::string_view text) { return Parser{}.Run(text); }

}  // namespace hxsim
