#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "adapter/SurveyListRead.h"
#include "adapter/VuvavoApi.h"
#include "app/UtilityState.h"
#include "auth/AuthWorker.h"
#include "auth/KeyInstaller.h"
#include "auth/SupplicantRecordBuilder.h"
#include "config/MemoryAppProfile.h"
#include "sim/core/HexCodec.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/FakeSupplicantLibrary.h"
#include "tests/native/worker/RecordImages.h"
#include "tests/native/worker/SurveyList.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

const Mac kAp{0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
const Mac kNeighbour{0x00, 0x0C, 0x41, 0x99, 0x99, 0x99};
const Bytes kRsn{0x30, 0x04, 0x01, 0x00, 0xAA, 0xBB};
const Bytes kVendor{0xDD, 0x05, 0x00, 0x10, 0x18, 0x02, 0x00};

std::string HexOf(const Bytes& bytes) {
    std::string text(bytes.size() * 3 + 1, '\0');
    hxsim::BytesToHexText(bytes.data(), text.data(), static_cast<int>(bytes.size()), true);
    return text.c_str();
}

// One order of calls across both libraries and the ports.
class Journal {
public:
    void Add(const std::string& name) {
        std::lock_guard lock(mutex_);
        entries_.push_back(name);
    }
    Names Entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    size_t Size() const {
        std::lock_guard lock(mutex_);
        return entries_.size();
    }

private:
    mutable std::mutex mutex_;
    Names entries_;
};

class JournalingDirectoryPort : public ProgramDirectoryPort {
public:
    explicit JournalingDirectoryPort(Journal& journal) : journal_(journal) {}
    void EnterProgramDirectory() override { journal_.Add("EnterProgramDirectory"); }

private:
    Journal& journal_;
};

class RecordingMessagePort : public WorkerMessagePort {
public:
    explicit RecordingMessagePort(Journal& journal) : journal_(journal) {}
    void ShowExclamation(const std::string& text) override {
        journal_.Add("ShowExclamation");
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    Names Texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    Journal& journal_;
    mutable std::mutex mutex_;
    Names texts_;
};

template <typename Predicate>
bool WaitUntil(Predicate done, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

Names Repeat(const std::string& name, int times) { return Names(static_cast<size_t>(times), name); }

Names Join(std::initializer_list<Names> parts) {
    Names all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The start of every run up to the survey list: Start worker, the first link wait, the
// preparation.
const Names kStartToSurvey{"QueryWL_CheckWZCStatus", "HXStopWZCService", "EnterProgramDirectory",
                           "QueryWL_ConnectState",   "GetNICAdapterMAC", "QueryWL_BSSID",
                           "WL_RetrieveSiteSurveyData"};
const Names kElementFound{"WL_FilteSiteSurveyData", "BinToHexStr", "HexStrToBin"};

// Both libraries, the profile, the process state and the ports of one worker.
struct Rig {
    Rig() {
        InitialiseProcessState(state);
        adapter.connectState = 0;
        adapter.bssid = kAp;
        adapter.ssid = "AdapterSsid";
        adapter.surveyData = SurveyList({{kNeighbour, WpaElement(0x04)}, {kAp, Concat({kRsn, WpaElement(0x02)})}});

        WlanSetting& setting = state.current;
        setting.SSID = "HomeNet";
        setting.AuthenticationMode = AuthMode::WpaPsk;
        setting.WEPStatus = WepStatus::Tkip;
        setting.WEPKeyLength = 64;
        setting.Dot1xProtocol = Dot1xMethod::EapTls;
        setting.Dot1xPassphrase = "correct horse";
        setting.Dot1xUsername = "alice";
        setting.Dot1xPassword = "pa55word";
        setting.Dot1xCertSubject = "CN=alice";
        setting.Dot1xCertIssuer = "CN=Test CA";

        for (const char* name : {"QueryWL_CheckWZCStatus", "HXStopWZCService", "HXStartWZCService",
                                 "QueryWL_ConnectState", "GetNICAdapterMAC", "QueryWL_BSSID",
                                 "WL_RetrieveSiteSurveyData", "WL_FilteSiteSurveyData", "BinToHexStr",
                                 "HexStrToBin", "QueryWL_SSID", "SetWL_SSID", "WriteOid"}) {
            adapter.OnCall(name, [this, name] { journal.Add(name); });
        }
        supplicant.SetJournal([this](const std::string& name) { journal.Add(name); });
        supplicant.SetStepDelay(100us);
        for (int i = 0; i < 32; ++i) {
            supplicant.pskKey[static_cast<size_t>(i)] = static_cast<uint8_t>(0x40 + i);
            supplicant.eapKey[static_cast<size_t>(i)] = static_cast<uint8_t>(0x80 + i);
        }
    }

    ~Rig() {
        if (worker) worker->StopWorker();
    }

    AuthWorker& Worker(std::chrono::milliseconds interval = 2ms) {
        worker = std::make_unique<AuthWorker>(adapter, supplicant, state, profile, directory, messages,
                                              WorkerTiming{interval});
        return *worker;
    }

    void SetConnectState(int value) {
        auto lock = adapter.Lock();
        adapter.connectState = value;
    }

    // Waits until the worker has ended by itself: its last call releases the supplicant.
    bool WaitForEnd() { return supplicant.WaitForCount("Shutdown_Dot1x_Module", 1); }

    // The journal from the first entry named `from` on, `count` entries.
    Names Slice(const std::string& from, size_t count, int occurrence = 1) {
        const Names all = journal.Entries();
        auto it = all.begin();
        for (int seen = 0; it != all.end(); ++it)
            if (*it == from && ++seen == occurrence) break;
        const size_t left = static_cast<size_t>(all.end() - it);
        return Names(it, it + static_cast<std::ptrdiff_t>(std::min(count, left)));
    }

    std::string StoredElement() {
        const auto* value = profile.Find("LastSetting\\", "Dot1xWPAIEs");
        return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : "<none>";
    }

    std::string CurrentElement() {
        std::lock_guard lock(state.currentSettingMutex);
        return state.current.Dot1xWPAIEs;
    }

    FakeAdapterLibrary adapter;
    FakeSupplicantLibrary supplicant;
    MemoryAppProfile profile;
    UtilityState state;
    Journal journal;
    JournalingDirectoryPort directory{journal};
    RecordingMessagePort messages{journal};
    std::unique_ptr<AuthWorker> worker;
};

TEST(AuthWorker, EndsQuietlyWhereThePreparationFails) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> arrange;
        Names expected;   // after kStartToSurvey
        bool elementStored;
    };
    const Case cases[] = {
        {"scan list unreadable at every buffer size", [](Rig& t) { t.adapter.Fail("WL_RetrieveSiteSurveyData", -1); },
         Repeat("WL_RetrieveSiteSurveyData", SurveyReadAttempts() - 1), false},
        {"associated BSS not in the list", [](Rig& t) { t.adapter.bssid = {1, 2, 3, 4, 5, 6}; },
         {"WL_FilteSiteSurveyData"}, false},
        {"no vendor element", [](Rig& t) { t.adapter.surveyData = SurveyList({{kAp, kRsn}}); },
         {"WL_FilteSiteSurveyData"}, false},
        {"WPA2 and no RSN element",
         [](Rig& t) {
             t.state.current.AuthenticationMode = AuthMode::Wpa2Psk;
             t.adapter.surveyData = SurveyList({{kAp, WpaElement(0x02)}});
         },
         {"WL_FilteSiteSurveyData"}, false},
        {"encryption disabled", [](Rig& t) { t.state.current.WEPStatus = WepStatus::Disabled; },
         kElementFound, true},
        {"WEPStatus 5", [](Rig& t) { t.state.current.WEPStatus = 5; }, kElementFound, true},
        {"WEP authentication mode", [](Rig& t) { t.state.current.AuthenticationMode = AuthMode::AutoSwitch; },
         kElementFound, true},
        {"802.1X with an unknown method",
         [](Rig& t) {
             t.state.current.AuthenticationMode = AuthMode::Wpa;
             t.state.current.Dot1xProtocol = 2;
         },
         kElementFound, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        c.arrange(r);
        r.Worker().StartWorker();
        ASSERT_TRUE(r.WaitForEnd());
        EXPECT_EQ(r.journal.Entries(), Join({kStartToSurvey, c.expected, {"Shutdown_Dot1x_Module"}}));
        EXPECT_TRUE(r.worker->WorkerActive());   // ended by itself: the flag stays set ...
        EXPECT_EQ(r.adapter.wzcStarts, 0);        // ... and so does the service stop
        EXPECT_EQ(r.StoredElement(), c.elementStored ? HexOf(WpaElement(0x02)) : "<none>");
        EXPECT_EQ(r.CurrentElement(), c.elementStored ? HexOf(WpaElement(0x02)) : "");
        r.worker->StopWorker();
        EXPECT_EQ(r.journal.Entries().back(), "HXStartWZCService");
        EXPECT_FALSE(r.worker->WorkerActive());
    }
}

TEST(AuthWorker, CertificateFilesThatCannotBeMadeEndTheWorker) {
    struct Case {
        const char* name;
        int protocol;
        const char* failing;
        Names expected;   // after the element is found
        bool message;
    };
    const Case cases[] = {
        {"TLS, private key not exportable", Dot1xMethod::EapTls, "genMyCertFile",
         {"genMyCertFile", "ShowExclamation"}, true},
        {"TLS, key file", Dot1xMethod::EapTls, "genMySSLFile", {"genMyCertFile", "genMySSLFile"}, false},
        {"PEAP, root certificate", Dot1xMethod::Peap, "genROOTCertFile", {"genROOTCertFile"}, false},
        {"PEAP, root key file", Dot1xMethod::Peap, "genROOTSSLFile", {"genROOTCertFile", "genROOTSSLFile"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.state.current.AuthenticationMode = AuthMode::Wpa;
        r.state.current.Dot1xProtocol = c.protocol;
        r.supplicant.SetResult(c.failing, 1);
        r.Worker().StartWorker();
        ASSERT_TRUE(r.WaitForEnd());
        EXPECT_EQ(r.journal.Entries(), Join({kStartToSurvey, kElementFound, c.expected, {"Shutdown_Dot1x_Module"}}));
        EXPECT_EQ(r.messages.Texts(), c.message ? Names{kCertificateExportFailureText} : Names{});
        const std::string certArgs = "(CN=alice,CN=Test CA)";
        EXPECT_EQ(r.supplicant.Calls()[0], std::string(c.protocol == Dot1xMethod::EapTls ? "genMyCertFile" : "genROOTCertFile") + certArgs);
        r.worker->StopWorker();
    }
}

TEST(AuthWorker, WpaPskRunDrivesTheSupplicantInOrder) {
    Rig r;
    r.Worker().StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_run", 70));
    r.worker->StopWorker();

    const Names negotiation = Join({Repeat("do_key_negotiation_run", 31), {"QueryWL_ConnectState"},
                                    Repeat("do_key_negotiation_run", 31), {"QueryWL_ConnectState"}});
    const Names expected = Join({kStartToSurvey, kElementFound,
                                 {"QueryWL_ConnectState", "Get_PSK_Key_32byte", "do_key_negotiation_init",
                                  "do_eapol_start"},
                                 negotiation});
    EXPECT_EQ(r.Slice("QueryWL_CheckWZCStatus", expected.size()), expected);
    const Names all = r.journal.Entries();
    EXPECT_EQ(Names(all.end() - 2, all.end()), (Names{"Shutdown_Dot1x_Module", "HXStartWZCService"}));

    // The key comes from the setting's SSID, not from the one the adapter reports.
    const Names calls = r.supplicant.Calls();
    EXPECT_EQ(calls[0], "Get_PSK_Key_32byte(correct horse,HomeNet,7,4096,32)");
    EXPECT_EQ(calls[2], "do_eapol_start(00 0C 41 11 22 33,00 0A EB 12 34 56)");
    EXPECT_EQ(r.adapter.Calls()[8], "HexStrToBin(" + HexOf(WpaElement(0x02)) + ",71)");

    const KeyNegotiationRecord record = r.supplicant.LastNegotiationRecord();
    EXPECT_EQ(Bytes(record.ownMac, record.ownMac + 6), Bytes(r.adapter.mac.begin(), r.adapter.mac.end()));
    EXPECT_EQ(Bytes(record.pairwiseMasterKey, record.pairwiseMasterKey + 32),
              Bytes(r.supplicant.pskKey.begin(), r.supplicant.pskKey.end()));
    EXPECT_EQ(Bytes(record.runConstant, record.runConstant + 16),
              Bytes(NegotiationRunConstant().begin(), NegotiationRunConstant().end()));
    EXPECT_EQ(Bytes(record.reserved, record.reserved + 250), Bytes(250, 0));
    EXPECT_EQ(r.supplicant.LastNegotiationElement(), WpaElement(0x02));
    EXPECT_EQ(record.wpaElementLength, 24);
    EXPECT_EQ(record.pairwiseCipher, CipherCode::Tkip);
    EXPECT_EQ(record.groupCipher, CipherCode::Tkip);
    EXPECT_EQ(record.installKey, &InstallNegotiatedKey);
    EXPECT_EQ(r.StoredElement(), HexOf(WpaElement(0x02)));
}

// WPA takes the last of the vendor elements, WPA2 the first RSN element.
TEST(AuthWorker, TheElementOfTheModeIsStoredAndNegotiated) {
    const Bytes laterRsn{0x30, 0x02, 0x01, 0x00};
    const struct {
        int mode;
        int conversions;
        Bytes element;
    } cases[] = {
        {AuthMode::WpaPsk, 2, kVendor},
        {AuthMode::Wpa2Psk, 1, kRsn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Rig r;
        r.adapter.surveyData = SurveyList({{kAp, Concat({WpaElement(0x04), kRsn, kVendor, laterRsn})}});
        r.state.current.WEPStatus = WepStatus::Aes;
        r.state.current.AuthenticationMode = c.mode;
        r.Worker().StartWorker();
        ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_init", 1));
        r.worker->StopWorker();

        EXPECT_EQ(r.adapter.CountOf("BinToHexStr"), c.conversions);
        EXPECT_EQ(r.StoredElement(), HexOf(c.element));
        EXPECT_EQ(r.CurrentElement(), HexOf(c.element));
        EXPECT_EQ(r.supplicant.LastNegotiationElement(), c.element);
        EXPECT_EQ(r.supplicant.LastNegotiationRecord().wpaElementLength, c.element.size());
        EXPECT_EQ(r.supplicant.LastNegotiationRecord().pairwiseCipher, CipherCode::Ccmp);
    }
}

TEST(AuthWorker, AnElementTheLibraryCannotTurnIntoTextIsPassedOver) {
    const std::string earlier = "DD 04 00 50 F2 00";
    const struct {
        const char* name;
        Bytes elements;          // of the access point's record
        int failingConversion;   // which BinToHexStr call reports failure
        std::string stored;      // "Dot1xWPAIEs" afterwards, in the store and the setting
        bool negotiates;
    } cases[] = {
        {"the second of two elements", Concat({WpaElement(0x02), kVendor}), 2, HexOf(WpaElement(0x02)), true},
        {"the only element", WpaElement(0x02), 1, earlier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.adapter.surveyData = SurveyList({{kAp, c.elements}});
        r.profile.SetValue("LastSetting\\", "Dot1xWPAIEs", earlier);
        r.state.current.Dot1xWPAIEs = earlier;
        int conversions = 0;
        r.adapter.OnCall("BinToHexStr", [&] {
            if (++conversions == c.failingConversion) r.adapter.Fail("BinToHexStr", 1);
        });
        r.Worker().StartWorker();
        if (c.negotiates) {
            ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_init", 1));
        } else {
            ASSERT_TRUE(r.WaitForEnd());
        }
        r.worker->StopWorker();
        EXPECT_EQ(r.StoredElement(), c.stored);
        EXPECT_EQ(r.CurrentElement(), c.stored);
        EXPECT_EQ(r.supplicant.CountOf("do_key_negotiation_init") > 0, c.negotiates);
    }
}

TEST(AuthWorker, EapRunsDriveTheSupplicantInOrder) {
    struct Case {
        int mode;
        int protocol;
        Names certificates;
        Bytes record;
        Bytes element;
    };
    const Case cases[] = {
        {AuthMode::Wpa, Dot1xMethod::EapTls, {"genMyCertFile", "genMySSLFile"}, EapTlsImage("alice"), WpaElement(0x02)},
        {AuthMode::Wpa, Dot1xMethod::Peap, {"genROOTCertFile", "genROOTSSLFile"}, PeapImage("alice", "pa55word"),
         WpaElement(0x02)},
        {AuthMode::Wpa2, Dot1xMethod::Peap, {"genROOTCertFile", "genROOTSSLFile"}, PeapImage("alice", "pa55word"),
         kRsn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.protocol));
        Rig r;
        r.state.current.AuthenticationMode = c.mode;
        r.state.current.Dot1xProtocol = c.protocol;
        r.supplicant.Script("do_eapol_run", {0, 0, 1});
        r.Worker().StartWorker();
        ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_run", 32));
        r.worker->StopWorker();

        const Names expected = Join({kStartToSurvey, kElementFound, c.certificates,
                                     {"QueryWL_ConnectState", "do_eapol_init"}, Repeat("do_eapol_run", 3),
                                     {"do_eapol_halt", "Get_EAP_Derived_Key_32byte", "do_key_negotiation_init"},
                                     Repeat("do_key_negotiation_run", 31), {"QueryWL_ConnectState"}});
        EXPECT_EQ(r.Slice("QueryWL_CheckWZCStatus", expected.size()), expected);
        EXPECT_EQ(r.supplicant.Calls()[2], "do_eapol_init(0,00 0A EB 12 34 56,00 0C 41 11 22 33)");
        EXPECT_EQ(BytesOf(r.supplicant.LastEapConfig()), c.record);
        const KeyNegotiationRecord record = r.supplicant.LastNegotiationRecord();
        EXPECT_EQ(Bytes(record.pairwiseMasterKey, record.pairwiseMasterKey + 32),
                  Bytes(r.supplicant.eapKey.begin(), r.supplicant.eapKey.end()));
        EXPECT_EQ(r.supplicant.LastNegotiationElement(), c.element);
        EXPECT_EQ(r.supplicant.CountOf("Shutdown_Dot1x_Module"), 1);
        EXPECT_EQ(r.supplicant.CountOf("do_eapol_start"), 0);
    }
}

// A library may keep the records it was given until it is shut down: they are still
// whole when Shutdown_Dot1x_Module reads them (under ASan a freed one fails at once).
TEST(AuthWorker, TheRecordsOutliveTheLibrarysShutdown) {
    const struct {
        int mode;
        std::optional<Bytes> eapConfig;
    } cases[] = {
        {AuthMode::WpaPsk, std::nullopt},
        {AuthMode::Wpa, EapTlsImage("alice")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Rig r;
        r.state.current.AuthenticationMode = c.mode;
        r.supplicant.SetResult("do_eapol_run", 1);
        r.supplicant.KeepRecordsUntilShutdown();
        r.Worker().StartWorker();
        ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_run", 1));
        r.worker->StopWorker();

        const auto seen = r.supplicant.ReadAtShutdown();
        ASSERT_TRUE(seen.negotiation.has_value());
        EXPECT_EQ(BytesOf(*seen.negotiation), BytesOf(r.supplicant.LastNegotiationRecord()));
        EXPECT_EQ(seen.element, WpaElement(0x02));
        EXPECT_EQ(seen.eapConfig ? std::optional(BytesOf(*seen.eapConfig)) : std::nullopt, c.eapConfig);
    }
}

TEST(AuthWorker, SixtyTwoFailedEapStepsSetTheAdaptersSsidAgain) {
    Rig r;
    r.state.current.AuthenticationMode = AuthMode::Wpa;
    r.Worker().StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_eapol_init", 2));
    r.worker->StopWorker();

    const Names expected = Join({{"do_eapol_init"}, Repeat("do_eapol_run", 62),
                                 {"QueryWL_SSID", "SetWL_SSID", "do_eapol_halt", "QueryWL_ConnectState",
                                  "do_eapol_init"}});
    EXPECT_EQ(r.Slice("do_eapol_init", expected.size()), expected);
    const Names calls = r.adapter.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetWL_SSID(AdapterSsid,11)"), calls.end());
}

TEST(AuthWorker, AnSsidTheAdapterCannotReportIsNotSetAgain) {
    Rig r;
    r.state.current.AuthenticationMode = AuthMode::Wpa;
    r.adapter.Fail("QueryWL_SSID", -1);
    r.Worker().StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_eapol_init", 2));
    r.worker->StopWorker();
    EXPECT_EQ(r.adapter.CountOf("SetWL_SSID"), 0);
    EXPECT_EQ(r.Slice("QueryWL_SSID", 3), (Names{"QueryWL_SSID", "do_eapol_halt", "QueryWL_ConnectState"}));
}

TEST(AuthWorker, LinkLossDuringNegotiationReturnsToTheLinkWait) {
    Rig r;
    // The link drops at step 40; it is seen at the next 31st step (62). The wait then sees
    // it lost once more and back on the second query.
    r.supplicant.OnNegotiationStep([&r](KeyNegotiationRecord&, int step) {
        if (step == 40) r.adapter.Script("QueryWL_ConnectState", {1, 1, 0});
    });
    r.Worker().StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_init", 2));
    r.worker->StopWorker();

    const Names expected = Join({{"do_key_negotiation_init", "do_eapol_start"},
                                 Repeat("do_key_negotiation_run", 31), {"QueryWL_ConnectState"},
                                 Repeat("do_key_negotiation_run", 31), {"QueryWL_ConnectState"},
                                 {"QueryWL_ConnectState", "QueryWL_ConnectState", "Get_PSK_Key_32byte",
                                  "do_key_negotiation_init", "do_eapol_start"}});
    EXPECT_EQ(r.Slice("do_key_negotiation_init", expected.size()), expected);
}

TEST(AuthWorker, StopCutsTheLinkWaitsShort) {
    struct Case {
        const char* name;
        std::deque<int> connectStates;   // then not connected
        int queriesBeforeStop;
        Names endAfterLastQuery;
        bool elementStored;   // a worker stopped before it read the survey list stores nothing
    };
    const Case cases[] = {
        {"first wait", {}, 0, {"Shutdown_Dot1x_Module", "HXStartWZCService"}, false},
        {"wait of the run", {0}, 2, {"Shutdown_Dot1x_Module", "HXStartWZCService"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.adapter.connectState = 1;
        r.adapter.Script("QueryWL_ConnectState", c.connectStates);
        r.Worker(1000ms).StartWorker();
        ASSERT_TRUE(WaitUntil([&] {
            return r.adapter.CountOf("QueryWL_ConnectState") >= c.queriesBeforeStop &&
                   r.journal.Size() >= 3;   // the worker's thread has begun
        }));
        std::this_thread::sleep_for(20ms);   // well inside a sleep

        const auto before = std::chrono::steady_clock::now();
        r.worker->StopWorker();
        const auto took = std::chrono::steady_clock::now() - before;
        EXPECT_LT(took, 200ms);
        EXPECT_EQ(r.supplicant.CountOf("Get_PSK_Key_32byte"), 0);
        const Names all = r.journal.Entries();
        EXPECT_EQ(Names(all.end() - static_cast<std::ptrdiff_t>(c.endAfterLastQuery.size()), all.end()),
                  c.endAfterLastQuery);
        EXPECT_EQ(r.adapter.CountOf("QueryWL_ConnectState"), c.queriesBeforeStop);
        EXPECT_EQ(r.StoredElement(), c.elementStored ? HexOf(WpaElement(0x02)) : "<none>");
    }
}

TEST(AuthWorker, EachLinkWaitGoesOnAfterThirtyRoundsWithoutALink) {
    struct Case {
        const char* name;
        std::deque<int> connectStates;   // then not connected
        const char* before;              // the call before the wait
        int queries;
        const char* after;               // what the worker goes on with
    };
    const Case cases[] = {
        {"first wait: a query after each sleep", {}, "EnterProgramDirectory", 30, "GetNICAdapterMAC"},
        {"wait of the run: a query, then one after each sleep", {0}, "HexStrToBin", 31, "Get_PSK_Key_32byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.adapter.connectState = 1;
        r.adapter.Script("QueryWL_ConnectState", c.connectStates);
        r.Worker().StartWorker();
        ASSERT_TRUE(r.supplicant.WaitForCount("Get_PSK_Key_32byte", 1));
        r.worker->StopWorker();
        const Names expected = Join({{c.before}, Repeat("QueryWL_ConnectState", c.queries), {c.after}});
        EXPECT_EQ(r.Slice(c.before, expected.size()), expected);
    }
}

TEST(AuthWorker, StartWhileRunningJoinsTheOldWorkerAndAsksTheServiceStatusAgain) {
    Rig r;
    r.Worker().StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_run", 5));
    r.worker->StartWorker();
    ASSERT_TRUE(r.supplicant.WaitForCount("do_key_negotiation_init", 2));
    r.worker->StopWorker();

    const Names all = r.journal.Entries();
    const auto shutdown = std::find(all.begin(), all.end(), "Shutdown_Dot1x_Module");
    ASSERT_NE(shutdown, all.end());
    EXPECT_EQ(Names(shutdown, shutdown + 4),
              (Names{"Shutdown_Dot1x_Module", "QueryWL_CheckWZCStatus", "HXStopWZCService", "EnterProgramDirectory"}));
    EXPECT_EQ(r.adapter.CountOf("QueryWL_CheckWZCStatus"), 2);
    EXPECT_EQ(r.supplicant.CountOf("Shutdown_Dot1x_Module"), 2);
    EXPECT_EQ(r.adapter.wzcStarts, 1);   // only at the final stop
    EXPECT_EQ(all.back(), "HXStartWZCService");
}

TEST(AuthWorker, ZeroConfigurationServiceIsStoppedAndStartedAsItsStatusSays) {
    const struct { int status, stops, starts; } cases[] = {{0, 1, 1}, {1, 1, 1}, {2, 0, 0}, {-1, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Rig r;
        r.adapter.wzcStatus = c.status;
        AuthWorker& w = r.Worker();
        w.StopWorker();   // nothing runs: nothing to do
        EXPECT_EQ(r.adapter.CountOf("HXStartWZCService"), 0);
        w.StartWorker();
        EXPECT_EQ(r.adapter.wzcStops, c.stops);
        w.StopWorker();
        w.StopWorker();   // the second stop finds no worker
        EXPECT_EQ(r.adapter.wzcStarts, c.starts);
        w.StartWorker();   // status 2 later: the service is no longer restarted
        {
            auto lock = r.adapter.Lock();
            r.adapter.wzcStatus = 2;
        }
        w.StartWorker();
        w.StopWorker();
        EXPECT_EQ(r.adapter.wzcStarts, c.starts + (c.stops ? 1 : 0));
    }
}

TEST(AuthWorker, NegotiatedKeysReachTheAdapterThroughTheRecordsCallback) {
    Rig r;
    const uint8_t rsc[8] = {9, 8, 7, 6, 5, 4, 3, 2};
    r.supplicant.OnNegotiationStep([&](KeyNegotiationRecord& record, int step) {
        const Bytes key = step == 1 ? Bytes(32, 0x11) : Bytes(32, 0x22);
        if (step <= 2) record.installKey(rsc, key.data(), 32, step == 1 ? 0 : 2, step == 1 ? 0 : 1);
    });
    r.Worker().StartWorker();
    ASSERT_TRUE(WaitUntil([&] { return r.adapter.CountOf("WriteOid") >= 2; }));
    r.worker->StopWorker();

    auto lock = r.adapter.Lock();
    ASSERT_EQ(r.adapter.oids.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const Bytes& record = r.adapter.oids[i].bytes;
        EXPECT_EQ(r.adapter.oids[i].oid, kOidAddKey);
        ASSERT_EQ(record.size(), 71u);
        const uint32_t keyIndex = record[4] | record[5] << 8 | record[6] << 16 | uint32_t{record[7]} << 24;
        EXPECT_EQ(keyIndex, i == 0 ? 0xE0000000u : 0x20000002u);
        EXPECT_EQ(Bytes(record.begin() + 12, record.begin() + 18), Bytes(kAp.begin(), kAp.end()));
        EXPECT_EQ(Bytes(record.begin() + 24, record.begin() + 32), Bytes(rsc, rsc + 8));
        EXPECT_EQ(record[32], i == 0 ? 0x11 : 0x22);
    }
}

TEST(AuthWorker, TheElementIsWrittenWhileTheUserInterfaceCopiesTheSetting) {
    Rig r;
    r.Worker().StartWorker();
    WlanSetting copy;
    // The UI thread's side of the rule: whole-setting copies under the setting mutex.
    while (r.supplicant.CountOf("Get_PSK_Key_32byte") == 0) {
        std::lock_guard lock(r.state.currentSettingMutex);
        copy = r.state.current;
        r.state.current.Dot1xUsername = copy.Dot1xUsername;
    }
    r.worker->StopWorker();
    EXPECT_EQ(r.CurrentElement(), HexOf(WpaElement(0x02)));
}

}  // namespace
}  // namespace hx::test
