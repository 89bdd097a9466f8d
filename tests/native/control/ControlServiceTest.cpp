// The control channel's wire format and its requests, over the recording library, the
// memory profile and a recording worker: refusals change nothing, and the verbs reach the
// stores and the library as the pages do.
#include <gtest/gtest.h>

#include "app/ControlService.h"
#include "auth/JoinFailureNotice.h"
#include "auth/KeyInstaller.h"
#include "config/ProfileStore.h"
#include "pages/EncryptionPageModel.h"
#include "pages/ProfileEditorModel.h"
#include "pages/WepKeyEntry.h"
#include "tests/fakes/SampleSetting.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx {
namespace {

TEST(ControlRecord, RoundTripsAnyValueAndRefusesMalformedLines) {
    for (const std::string& value : std::vector<std::string>{"", "a b=c%d", "line\nend\r", "\xC3\xA9t\xC3\xA9", std::string("\0\x7F\xFF", 3)}) {
        const auto back = ParseControlMessage(FormatControlMessage({ControlRecord{}.Set("verb", "x").Set("v.1-a", value)}));
        ASSERT_TRUE(back && back->size() == 1) << value;
        EXPECT_EQ((*back)[0].Get("v.1-a"), value);
    }
    for (const char* line : {"", "verb", "=x", "v:b=x", "a=%4", "a=%zz", "a=b  c=d", "a=b\tc", "a=b "})
        EXPECT_FALSE(ParseControlRecord(line)) << line;
    for (const char* message : {"a=b", "a=b\n\n", "\n"}) EXPECT_FALSE(ParseControlMessage(message)) << message;
}

struct Window final : ControlWindowPort {
    std::vector<SurveyEntry> entries;
    int refreshes = 0;
    std::vector<SurveyEntry> SurveyEntries() override { return entries; }
    void RefreshProfileList() override { ++refreshes; }
};

struct Utility : test::AdapterFixture {
    ProfileStore profiles{profile};
    Window window;
    JoinFailureNotice notice;
    ControlService service{{state, library, applier, worker, store, profiles, shell, window, &notice}};
    Utility() {
        state.adapterLookedFor = true;
        state.adapterReady = 1;
        state.wzcState = Wzc::OwnControl;
        state.current = test::FullSetting(64);
        state.current.NetworkType = NetworkType::Infrastructure;
        profiles.LinkProfile("Home");
        profiles.SaveProfile("Home", test::FullSetting(128));
    }
    std::vector<ControlRecord> Ask(const std::string& request) { return service.Handle(ParseControlRecord(request).value()); }
};

TEST(ControlService, RefusalsChangeNothing) {
    const std::string longSsid(33, 's'), longPhrase(64, 'p');
    const struct { std::string request; int code; std::string message; } cases[] = {
        {"verb=fly", 2, "unknown verb fly"},
        {"verb=status extra=1", 2, "unknown field extra"},
        {"verb=connect ssid=" + longSsid, 2, "SSID must be 1 to 32 bytes"},
        {"verb=connect", 2, "SSID must be 1 to 32 bytes"},
        {"verb=connect ssid=a colour=red", 2, "unknown field colour"},
        {"verb=connect ssid=a bssid=00-11-22", 2, "BSSID must be six hex pairs, as 00-11-22-33-44-55"},
        {"verb=connect ssid=a wep-key=1:12345678901", 2, ""},
        {"verb=connect ssid=a wep-key=1:zz23456789", 2, ""},
        {"verb=connect ssid=a wep-key=5:12345", 2, ""},
        {"verb=connect ssid=a passphrase=short", 2, kPassphraseLengthMessage},
        {"verb=connect ssid=a passphrase=" + longPhrase, 2, kPassphraseLengthMessage},
        {"verb=profile-load name=Away", 10, "no such profile: Away"},
        {"verb=profile-delete name=Away", 10, "no such profile: Away"},
        {"verb=profile-save name=HOME", 2, kProfileNameUsedMessage},
        {"verb=profile-save name=", 2, kProfileNameEmptyMessage},
        {"verb=profile-put name=New Channel=15", 2, "unknown field or value out of range: Channel"},
        {"verb=profile-put name=New SSID=" + longSsid, 2, "unknown field or value out of range: SSID"},
        {"verb=profile-put name=New Colour=1", 2, "unknown field or value out of range: Colour"},
        {"verb=profile-get name=Home keys=maybe", 2, "keys must be clear or none"},
        // A zero byte ends a registry name or text: "Home%00x" would be stored as Home.
        {"verb=profile-put name=Home%00x", 2, "name holds a zero byte, which cannot be stored"},
        {"verb=profile-save name=Home%00x", 2, "name holds a zero byte, which cannot be stored"},
        {"verb=profile-put name=New SSID=a%00b", 2, "SSID holds a zero byte, which cannot be stored"},
        {"verb=connect ssid=a%00b", 2, "ssid holds a zero byte, which cannot be stored"},
        {"verb=connect ssid=Cell passphrase=secret-phrase", 2, "WPA-PSK needs an access point, not an ad hoc network"},
        // Secured networks the setting in force is not for: no other network's key is tried.
        {"verb=connect ssid=Lab", 2, "Lab needs its key: the setting in force is for another network"},
        {"verb=connect ssid=Office", 2, "Office needs its key: the setting in force is for another network"},
    };
    for (const auto& c : cases) {
        Utility u;
        u.window.entries = {{{2, 0, 0, 0, 0, 1}, "Cell", NetworkType::AdHoc, WepStatus::Disabled, AuthMode::Open, 1, 60},
                            {{2, 0, 0, 0, 0, 2}, "Lab", NetworkType::Infrastructure, WepStatus::Wep, AuthMode::Open, 6, 60},
                            {{2, 0, 0, 0, 0, 3}, "Office", NetworkType::Infrastructure, WepStatus::Aes, AuthMode::WpaPsk, 6, 60}};
        const WlanSetting before = u.state.current;
        const size_t values = u.profile.ValueCount();
        const auto reply = u.Ask(c.request);
        ASSERT_EQ(reply.size(), 1u) << c.request;
        EXPECT_EQ(reply[0].Get("code"), std::to_string(c.code)) << c.request;
        if (!c.message.empty()) {
            EXPECT_EQ(reply[0].Get("message"), c.message) << c.request;
        }
        EXPECT_EQ(u.state.current, before) << c.request;
        EXPECT_EQ(u.profile.ValueCount(), values) << c.request;
        EXPECT_TRUE(u.library.Calls().empty() && u.worker.events.empty() && u.shell.calls.empty()) << c.request;
    }
}

// The calls that set something, without the hex conversions and the worker's call counts.
std::vector<std::string> Setters(std::vector<std::string> calls) {
    std::erase_if(calls, [](const std::string& call) { return call.rfind("HexStrToBin", 0) == 0; });
    for (std::string& call : calls) call = call.substr(0, call.find('@'));
    return calls;
}

TEST(ControlService, ConnectMakesTheEncryptionPagesApply) {
    SecurityChoice wep{1, 1, 2, "", {}, 128}, psk{3, 3, -1, "secret-phrase", {}, 64}, open{0, 0, -1, "", {}, 64};
    const struct { std::string fields; SecurityChoice page; std::string key; } cases[] = {
        {"wep-key=3:0102030405060708090A0B0C0D wep-auth=shared", wep, "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D"},
        {"wep-key=3:abcdefghijklm wep-auth=shared", wep, "61 62 63 64 65 66 67 68 69 6A 6B 6C 6D"},
        {"passphrase=secret-phrase cipher=aes", psk, ""},
        {"", open, ""},
    };
    for (const auto& c : cases) {
        Utility control, pages;
        ASSERT_EQ(control.Ask("verb=connect ssid=Cafe" + (c.fields.empty() ? "" : " " + c.fields))[0].Get("status"), "ok") << c.fields;
        SecurityChoice choice = c.page;
        for (int i = 0; i < 4; ++i) choice.keys[i] = i == 2 && !c.key.empty() ? c.key : pages.store.LoadLastWepKey(i, choice.keyLengthBits);
        pages.worker.StopWorker();
        pages.state.current.SSID = "Cafe";
        EncryptionPageModel(pages.state, pages.store, pages.applier).Apply(choice, pages.state.keyFormat);
        EXPECT_EQ(Setters(control.library.Calls()), Setters(pages.library.Calls())) << c.fields;
        EXPECT_EQ(Setters(control.worker.events), Setters(pages.worker.events)) << c.fields;
        EXPECT_EQ(control.state.current, pages.state.current) << c.fields;
        EXPECT_EQ(control.shell.calls, std::vector<std::string>{"ShowPage(LinkInfo)"});
    }
    Utility listed;  // a network of the survey list: its BSSID, type and cipher
    listed.state.current.NetworkType = NetworkType::AdHoc;
    listed.window.entries.push_back({{2, 0, 0, 0, 0, 7}, "Lobby", NetworkType::Infrastructure, WepStatus::Aes, AuthMode::WpaPsk, 11, 70});
    ASSERT_EQ(listed.Ask("verb=connect ssid=Lobby passphrase=secret-phrase")[0].Get("status"), "ok");
    EXPECT_EQ(listed.library.bssid, listed.window.entries[0].bssid);
    EXPECT_EQ(listed.library.wepStatus, WepStatus::Aes);
    EXPECT_EQ(listed.state.current.NetworkType, NetworkType::Infrastructure);
    EXPECT_EQ(listed.Ask("verb=status")[1].Get("joins"), "1");
}

// A stored key the library fails to read goes back into the setting as stored, not as zeros.
TEST(ControlService, ConnectKeepsAStoredKeyTheLibraryFailsToRead) {
    Utility u;
    u.store.WriteLastSettingString("WEPKey64_1", "0A 0B 0C 0D 0E");
    u.library.Fail("HexStrToBin", 4);
    ASSERT_EQ(u.Ask("verb=connect ssid=Cafe")[0].Get("status"), "ok");
    EXPECT_EQ(u.store.ReadLastSettingString("WEPKey64_1"), "0A 0B 0C 0D 0E");
}

// A refused library call leaves the setting owed: status 4, not ok.
TEST(ControlService, AnApplyTheAdapterRefusesIsNotReportedAsDone) {
    for (const char* request : {"verb=connect ssid=Cafe", "verb=profile-load name=Home"}) {
        Utility u;
        u.library.Fail("SetWL_SSID");
        EXPECT_EQ(u.Ask(request)[0].Get("code"), "4") << request;
        EXPECT_TRUE(u.state.settingOwed) << request;
    }
}

TEST(ControlService, ProfilesTravelThroughThePagesStores) {
    Utility u;
    ASSERT_EQ(u.Ask("verb=profile-save name=Work")[0].Get("status"), "ok");
    const auto list = u.Ask("verb=profile-list");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].Get("name"), "Work");
    const auto hidden = u.Ask("verb=profile-get name=Home")[1];
    EXPECT_TRUE(!hidden.Find("WEPKey128_0") && !hidden.Find("Dot1xPassphrase") && hidden.Find("SSID"));
    ControlRecord put = u.Ask("verb=profile-get name=Home keys=clear")[1];
    put.Set("verb", "profile-put").Set("name", "Copy");
    ASSERT_EQ(u.service.Handle(put)[0].Get("status"), "ok");
    WlanSetting home, copy;
    u.profiles.LoadProfile("Home", home);
    u.profiles.LoadProfile("Copy", copy);
    EXPECT_EQ(copy, home);
    EXPECT_EQ(u.Ask("verb=profile-load name=Copy")[0].Get("status"), "ok");
    EXPECT_EQ(u.library.ssid, home.SSID);
    EXPECT_EQ(u.Ask("verb=profile-delete name=Home")[0].Get("status"), "ok");
    EXPECT_EQ(u.profiles.ListProfileNames(), (std::vector<std::string>{"Work", "Copy"}));
    EXPECT_EQ(u.window.refreshes, 3);
}

// An imported profile holds what its file gave and, for the rest, what a new installation
// starts with: never the keys, pass phrase or 802.1X credentials of the setting in force.
TEST(ControlService, APutProfileTakesNothingFromTheSettingInForce) {
    Utility u;
    ASSERT_EQ(u.Ask("verb=profile-put name=Rogue SSID=Rogue NetworkType=1 AuthenticationMode=4 WEPStatus=4")[0].Get("status"), "ok");
    MemoryAppProfile empty;
    WlanSetting stored, fresh;
    LastSettingStore(empty).LoadLastSetting(fresh);
    fresh.SSID = "Rogue";
    fresh.NetworkType = NetworkType::Infrastructure;
    fresh.AuthenticationMode = AuthMode::WpaPsk;
    fresh.WEPStatus = WepStatus::Tkip;
    u.profiles.LoadProfile("Rogue", stored);
    EXPECT_EQ(stored, fresh);
}

// A link read before the last setting was applied is the old one: the adapter has left it
// to join anew, and hxctl connect must not take it for the new link. Keys the worker
// installed went with an adapter pulled out.
TEST(ControlService, StatusTellsTheLinkOnlyWhenThereIsOne) {
    const struct {
        int ready, connectState;
        bool readBeforeApply;
        const char* link;
        bool fields, keysInstalled = false;
    } cases[] = {
        {1, ConnectState::Associated, false, "up", true}, {1, ConnectState::NotAssociated, false, "down", false},
        {0, ConnectState::Associated, false, "down", false}, {1, ConnectState::Associated, true, "down", false},
        {0, ConnectState::Associated, false, "down", false, true}};
    for (const auto& c : cases) {
        Utility u;
        if (c.keysInstalled) {
            u.notice.JoinStarted("Net");
            const uint8_t rsc[8] = {}, key[16] = {};
            SetKeyInstallTarget(u.library, u.state.adapter);
            InstallNegotiatedKey(rsc, key, 16, 0, KeyKind::Pairwise);
            InstallNegotiatedKey(rsc, key, 16, 1, KeyKind::Group);
            ClearKeyInstallTarget();
            ASSERT_TRUE(u.notice.Tally().pairwiseKey && u.notice.Tally().groupKey);
        }
        u.state.adapterReady = c.ready;
        u.state.link.connectState = c.connectState;
        u.state.linkReadAtJoin = u.state.settingsApplied = 3;
        if (c.readBeforeApply) ++u.state.settingsApplied;
        u.state.link.signalStrength = 61;
        u.state.link.bssid = {0, 0x11, 0x22, 0x33, 0x44, 0xAB};
        const auto status = u.Ask("verb=status")[1];
        EXPECT_EQ(status.Get("link"), c.link);
        EXPECT_EQ(status.Get("signal-dbm", "none"), c.fields ? "-70" : "none");
        EXPECT_EQ(status.Get("bssid", "none"), c.fields ? "00-11-22-33-44-AB" : "none");
        EXPECT_EQ(status.Get("pairwise-key") + status.Get("group-key"), "nono");
    }
}

}  // namespace
}  // namespace hx
