// hxair: one join in the simulated air, recorded for a network analyser. Natively only: it
// runs the simulated adapter and our supplicant in this process on a clock of its own, the
// supplicant driven as the utility's worker drives it (the survey's element, the
// key-negotiation record, the worker's key-install callback), and writes the air into a
// pcap file.
//
//   hxair --capture FILE --ssid SSID --auth 3|4|6|7 --encryption 4|6
//         (--passphrase TEXT | --peap USER PASSWORD) [--rekey] [--scenario FILE]
//
// Prints the pairwise master key, the access point's element the negotiation was given and
// every group key the simulator installed that is the access point's ("pmk: <hex>",
// "element: <hex>", "gtk: <index> <hex>"); with --rekey the access point then renews its
// group key once. Exit status 0 when the port was authorised (and the renewed
// key installed), 1 when not, 2 for wrong arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "adapter/VuvavoApi.h"
#include "adapter/BssidList.h"
#include "auth/WpaElement.h"
#include "auth/Dot1xApi.h"
#include "auth/KeyInstaller.h"
#include "auth/SupplicantRecordBuilder.h"
#include "config/WlanSetting.h"
#include "sim/core/DefaultWorld.h"
#include "sim/core/ScenarioParser.h"
#include "sim/vuvavo/SimulatorHost.h"

namespace {

struct Options {
    std::string capture, ssid, passphrase, user, password, scenario;
    int auth = 0, encryption = 0;
    bool rekey = false;
};

int Usage() {
    std::fprintf(stderr, "usage: hxair --capture FILE --ssid SSID --auth 3|4|6|7 --encryption 4|6 "
                         "(--passphrase TEXT | --peap USER PASSWORD) [--rekey] [--scenario FILE]\n");
    return 2;
}

std::string Hex(const uint8_t* bytes, size_t size) {
    std::string out;
    char b[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(b, sizeof b, "%02x", bytes[i]);
        out += b;
    }
    return out;
}

bool Authorised() { return hxsim::WithWorld([](hxsim::World& w) { return w.PortAuthorised(); }); }

// The first listed adapter that opens: the HX-88U (the other one does not).
bool OpenAdapter(hx::AdapterHandle& adapter) {
    std::vector<hx::AdapterListEntry> list(100);
    const int count = CreateNICAdapterList(list.data(), 100);
    for (int i = 0; i < count; ++i) {
        std::memset(&adapter, 0, sizeof adapter);
        adapter.deviceHandle = -1;
        std::memcpy(adapter.name, list[i].name, sizeof adapter.name);
        std::memcpy(adapter.description, list[i].description, sizeof adapter.description);
        std::memcpy(adapter.instanceKey, list[i].instanceKey, sizeof adapter.instanceKey);
        if (HxOpenAdapter(&adapter) != 0) return true;
    }
    return false;
}

// The access point's element from the survey, as the worker takes it: WPA2 its RSN
// element, WPA its last vendor element.
std::vector<uint8_t> SurveyElement(hx::AdapterHandle& adapter, bool rsn) {
    std::vector<uint8_t> list(hx::kSurveyBufferSize);
    unsigned char bssid[6];
    if (WL_RetrieveSiteSurveyData(&adapter, list.data(), static_cast<int>(list.size())) != 0 ||
        QueryWL_BSSID(&adapter, bssid) != 0)
        return {};
    const auto record = hx::FindSurveyRecord(list, bssid);
    if (!record) return {};
    if (!rsn) {
        const auto vendor = hx::VendorElements(*record);
        return vendor.empty() ? std::vector<uint8_t>{} : std::vector<uint8_t>(vendor.back().begin(), vendor.back().end());
    }
    std::vector<uint8_t> element;
    const hx::BssidRecordView view{record->data(), record->size()};
    hx::ForEachElement(view.Elements(), view.ElementsLength(), [&](uint8_t id, const uint8_t* e, size_t size) {
        if (id == 48) element.assign(e, e + size);
        return id != 48;
    });
    return element;
}

// Steps the key negotiation on the world's clock until the port is authorised.
bool Negotiate(hx::KeyNegotiationRecord& record, int steps) {
    for (int i = 0; i < steps; ++i) {
        do_key_negotiation_run(&record);
        hxsim::AdvanceClock(10);
        if (Authorised()) return true;
    }
    return false;
}

bool Peap(hx::AdapterHandle& adapter, const Options& o, uint8_t pmk[32]) {
    // The worker's files, in a folder of this run's own.
    const auto folder = std::filesystem::temp_directory_path() / ("hxair-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    bool ok = genROOTCertFile("CN=HX Test Root CA", "CN=HX Test Root CA") == 0 && genROOTSSLFile() == 0;
    if (ok) {
        hx::EapConfigRecord config;
        hx::FillEapConfigRecord(config, hx::Dot1xMethod::Peap, o.user, o.password);
        unsigned char mac[6], bssid[6];
        GetNICAdapterMAC(&adapter, mac);
        QueryWL_BSSID(&adapter, bssid);
        do_eapol_init(&adapter, 0, mac, bssid, &config);
        bool succeeded = false;
        for (int i = 0; i < 62 && !succeeded; ++i) succeeded = do_eapol_run() != 0;
        do_eapol_halt();
        ok = succeeded && Get_EAP_Derived_Key_32byte(pmk) == 0;
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    return ok;
}

int Run(const Options& o) {
    hxsim::Scenario scenario = hxsim::DefaultScenario();
    if (!o.scenario.empty()) {
        std::ifstream in(o.scenario);
        std::ostringstream text;
        text << in.rdbuf();
        auto parsed = hxsim::ParseScenario(text.str());
        if (!parsed.scenario) {
            std::fprintf(stderr, "hxair: %s: %s\n", o.scenario.c_str(), parsed.error.c_str());
            return 2;
        }
        scenario = *parsed.scenario;
    }
    hxsim::ResetWorld(scenario, /*manualClock=*/true);
    if (!hxsim::Control("capture " + o.capture).ok) {
        std::fprintf(stderr, "hxair: cannot write %s\n", o.capture.c_str());
        return 2;
    }
    hx::AdapterHandle adapter{};
    if (!OpenAdapter(adapter)) return 1;
    hxsim::AdvanceClock(3000);  // the adapter's own scan at power-on
    SetWL_NetworkType(&adapter, hx::NetworkType::Infrastructure);
    SetWL_AuthenticationMode(&adapter, o.auth);
    SetWL_WEPStatus(&adapter, o.encryption);
    SetWL_SSID(&adapter, o.ssid.c_str(), static_cast<int>(o.ssid.size()));
    hxsim::AdvanceClock(1000);
    if (QueryWL_ConnectState(&adapter) != 0) {
        std::fprintf(stderr, "hxair: not associated\n%s", hxsim::Control("events").text.c_str());
        return 1;
    }

    const std::vector<uint8_t> element = SurveyElement(adapter, o.auth >= 6);
    const auto cipher = hx::CipherCodeFor(o.encryption, 0);
    hx::KeyNegotiationRecord record;
    unsigned char mac[6], bssid[6];
    GetNICAdapterMAC(&adapter, mac);
    QueryWL_BSSID(&adapter, bssid);
    hx::PrepareKeyNegotiationRecord(record, mac, element, cipher.value_or(0), hx::InstallNegotiatedKey);
    hx::SetKeyInstallTarget(hx::ExportedAdapterLibrary(), adapter);
    const bool psk = o.auth == 4 || o.auth == 7;
    const bool keyed = psk ? Get_PSK_Key_32byte(o.passphrase.c_str(), o.ssid.c_str(), static_cast<int>(o.ssid.size()),
                                                4096, record.pairwiseMasterKey, 32) == 0
                           : Peap(adapter, o, record.pairwiseMasterKey);
    hx::PutRunConstant(record);
    std::printf("pmk: %s\n", Hex(record.pairwiseMasterKey, 32).c_str());
    std::printf("element: %s\n", Hex(element.data(), element.size()).c_str());
    bool done = keyed && do_key_negotiation_init(&adapter, &record) == 0;
    if (done && psk) do_eapol_start(bssid, mac);
    done = done && Negotiate(record, 100);
    if (done && o.rekey) {
        const int before = hxsim::WithWorld([](hxsim::World& w) { return w.Session()->GroupKeyIndex(); });
        done = hxsim::Control("group-rekey").ok && Negotiate(record, 100) &&
               hxsim::WithWorld([&](hxsim::World& w) {
                   for (const auto& k : w.InstalledKeys())
                       if (!k.pairwise && k.index != before && k.matches) return true;
                   return false;
               });
    }
    hxsim::WithWorld([](hxsim::World& w) {
        for (const auto& k : w.InstalledKeys())
            if (!k.pairwise && k.matches)
                std::printf("gtk: %d %s\n", k.index, Hex(k.material.data(), k.material.size()).c_str());
        return 0;
    });
    Shutdown_Dot1x_Module();
    hx::ClearKeyInstallTarget();
    hxsim::Control("capture off");
    if (!done) std::fprintf(stderr, "hxair: the port was not authorised\n%s", hxsim::Control("events").text.c_str());
    return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--capture" && more) o.capture = argv[++i];
        else if (a == "--ssid" && more) o.ssid = argv[++i];
        else if (a == "--auth" && more) o.auth = std::atoi(argv[++i]);
        else if (a == "--encryption" && more) o.encryption = std::atoi(argv[++i]);
        else if (a == "--passphrase" && more) o.passphrase = argv[++i];
        else if (a == "--peap" && i + 2 < argc) {
            o.user = argv[++i];
            o.password = argv[++i];
        } else if (a == "--scenario" && more) o.scenario = argv[++i];
        else if (a == "--rekey") o.rekey = true;
        else return Usage();
    }
    const bool psk = o.auth == 4 || o.auth == 7;
    if (o.capture.empty() || o.ssid.empty() || (o.auth != 3 && o.auth != 4 && o.auth != 6 && o.auth != 7) ||
        (o.encryption != 4 && o.encryption != 6) || (psk ? o.passphrase.empty() : o.user.empty()))
        return Usage();
    return Run(o);
}
