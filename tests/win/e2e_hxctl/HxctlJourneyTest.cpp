// hxctl against the running utility in the default world, run as a script runs it: a child
// process whose output, error text and exit status are read. Each verb is judged by what
// the simulated adapter saw and what the windows show, not by hxctl's word alone.
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "pages/SurveyList.h"
#include "sim/core/DefaultWorld.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

// A profile as netsh writes it for a WPA-PSK or WPA2-PSK network with its key in clear.
std::string NetshProfile(const std::string& name, const std::string& auth, const std::string& cipher,
                         const std::string& ssid = kWpaTkipSsid, const std::string& passphrase = kWpaTkipPassphrase) {
    std::string hex;
    for (unsigned char c : ssid) hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
    return "<?xml version=\"1.0\"?>\r\n"
           "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\r\n"
           "\t<name>" + name + "</name>\r\n"
           "\t<SSIDConfig>\r\n\t\t<SSID>\r\n"
           "\t\t\t<hex>" + hex + "</hex>\r\n"
           "\t\t\t<name>" + ssid + "</name>\r\n"
           "\t\t</SSID>\r\n\t</SSIDConfig>\r\n"
           "\t<connectionType>ESS</connectionType>\r\n"
           "\t<connectionMode>manual</connectionMode>\r\n"
           "\t<MSM>\r\n\t\t<security>\r\n\t\t\t<authEncryption>\r\n"
           "\t\t\t\t<authentication>" + auth + "</authentication>\r\n"
           "\t\t\t\t<encryption>" + cipher + "</encryption>\r\n"
           "\t\t\t\t<useOneX>false</useOneX>\r\n"
           "\t\t\t</authEncryption>\r\n\t\t\t<sharedKey>\r\n"
           "\t\t\t\t<keyType>passPhrase</keyType>\r\n"
           "\t\t\t\t<protected>false</protected>\r\n"
           "\t\t\t\t<keyMaterial>" + passphrase + "</keyMaterial>\r\n"
           "\t\t\t</sharedKey>\r\n\t\t</security>\r\n\t</MSM>\r\n"
           "\t<MacRandomization xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v3\">\r\n"
           "\t\t<enableRandomization>false</enableRandomization>\r\n"
           "\t</MacRandomization>\r\n"
           "</WLANProfile>\r\n";
}

class HxctlJourney : public PageJourney {
protected:
    static ConsoleRun Hxctl(const std::string& arguments, const std::string& input = "") {
        return RunConsole(ProgramCommand("hxctl.exe", arguments), input, 60s);
    }
    static std::string Said(const ConsoleRun& run) {
        if (!run.started) return "not started: " + run.startFailure;
        return "out:\n" + run.out + "err:\n" + run.err;
    }
    // The import of this text, written into a file beside the test program.
    static std::string ImportOf(const std::string& file, const std::string& text) {
        const std::string path = ProgramFolder() + "\\" + file;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return "profile import " + Quoted(path);
    }
    std::string LinkInfoSsid() const { return Text(::GetDlgItem(LinkInfoPage(), IDC_LI_SSID)); }
    bool LinkInfoShows(const std::string& ssid) const {
        return WaitFor([&] { return LinkInfoSsid() == ssid; }, 5s);
    }
    // One step of the journey, named in the output with its outcome.
    static void Step(const char* name, const std::function<void()>& body) {
        const int before = Failures();
        {
            SCOPED_TRACE(name);
            body();
        }
        std::printf("[ step     ] %s: %s\n", name, Failures() > before ? "FAILED" : "passed");
    }
    static int Failures() {
        const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
        int failed = 0;
        for (int i = 0; i < result->total_part_count(); ++i) failed += result->GetTestPartResult(i).failed();
        return failed;
    }
    // What a refused invocation must leave as it was.
    std::string Unchanged() const {
        return StoredText("LastSetting", "SSID") + "|" + SimState("settings.ssid") + "|" + SimState("counters") + "|" +
               Hxctl("-t profile list").out;
    }
};

TEST_F(HxctlJourney, EveryVerbAgainstTheRunningUtility) {
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Authorised(kWpaTkipSsid, 30s)) << SimCommand("events");

    Step("status while linked", [&] {
        const ConsoleRun human = Hxctl("status");
        EXPECT_EQ(human.exitCode, 0u) << Said(human);
        EXPECT_NE(human.out.find(kWpaTkipSsid), std::string::npos) << Said(human);
        const ConsoleRun terse = Hxctl("-t status");
        ASSERT_EQ(terse.exitCode, 0u) << Said(terse);
        EXPECT_EQ(ReportValue(terse.out, "link"), "up") << terse.out;
        EXPECT_EQ(ReportValue(terse.out, "ssid"), kWpaTkipSsid) << terse.out;
        EXPECT_EQ(ReportValue(terse.out, "bssid"), "06-A0-88-00-00-03") << terse.out;
        EXPECT_EQ(ReportValue(terse.out, "cipher"), "tkip") << terse.out;
        EXPECT_EQ(ReportValue(terse.out, "pairwise-key"), "yes") << terse.out;
        EXPECT_EQ(ReportValue(terse.out, "group-key"), "yes") << terse.out;
    });

    Step("scan lists the default world", [&] {
        const ConsoleRun scan = Hxctl("-t scan");
        ASSERT_EQ(scan.exitCode, 0u) << Said(scan);
        for (const auto& network : hxsim::DefaultScenario().networks) {
            char bssid[18];
            std::snprintf(bssid, sizeof bssid, "%02X-%02X-%02X-%02X-%02X-%02X", network.bssid[0], network.bssid[1],
                          network.bssid[2], network.bssid[3], network.bssid[4], network.bssid[5]);
            const size_t row = scan.out.find(std::string(bssid) + "\t");
            ASSERT_NE(row, std::string::npos) << bssid << " not listed\n" << scan.out;
            const std::string line = scan.out.substr(row, scan.out.find('\n', row) - row);
            if (!network.hidden) {
                EXPECT_NE(line.find("\t" + network.ssid + "\t"), std::string::npos) << line;
            }
        }
        EXPECT_NE(scan.out.find("\tWPA-AES-Office\tWPA-PSK AES\t"), std::string::npos) << scan.out;
        EXPECT_NE(scan.out.find("\tWEP-Lab\tWEP\t"), std::string::npos) << scan.out;
    });

    Step("connect WPA-PSK with the pass phrase on standard input", [&] {
        const ConsoleRun run = Hxctl("connect WPA-AES-Office --passphrase", "aes-passphrase\n");
        ASSERT_EQ(run.exitCode, 0u) << Said(run);
        // connect returns once the keys are in, not before.
        EXPECT_EQ(SimState("link.ssid"), "\"WPA-AES-Office\"");
        const std::string keys = SimState("keys.installed");
        EXPECT_NE(keys.find("[pairwise "), std::string::npos) << keys;
        EXPECT_NE(keys.find("[group "), std::string::npos) << keys;
        EXPECT_EQ(keys.find("no-match"), std::string::npos) << keys;
        EXPECT_TRUE(Authorised("WPA-AES-Office", 5s)) << SimCommand("events");
        EXPECT_TRUE(LinkInfoShows("WPA-AES-Office")) << LinkInfoSsid();
    });

    Step("connect WEP with a hex key on standard input", [&] {
        const ConsoleRun run = Hxctl("connect WEP-Lab --wep-key 1 --wep-auth open", "1234567890\n");
        ASSERT_EQ(run.exitCode, 0u) << Said(run);
        EXPECT_TRUE(Joined("WEP-Lab", 5s)) << SimCommand("events");
        EXPECT_EQ(SimState("link.wep-keys-match"), "yes");
        const std::string keys = SimState("settings.wep-keys");
        EXPECT_NE(keys.find("[0*] 12 34 56 78 90 "), std::string::npos) << keys;
        EXPECT_TRUE(LinkInfoShows("WEP-Lab")) << LinkInfoSsid();
    });

    Step("profile save, list, export, import and load", [&] {
        ASSERT_EQ(Hxctl("profile save Lab").exitCode, 0u);
        EXPECT_NE(Hxctl("-t profile list").out.find("Lab\n"), std::string::npos);
        const ConsoleRun secret = Hxctl("profile export Lab --key clear");
        ASSERT_EQ(secret.exitCode, 0u) << Said(secret);
        EXPECT_NE(secret.out.find("http://www.microsoft.com/networking/WLAN/profile/v1"), std::string::npos);
        EXPECT_NE(secret.out.find("<name>WEP-Lab</name>"), std::string::npos) << secret.out;
        EXPECT_NE(secret.out.find(">1234567890<"), std::string::npos) << secret.out;
        const ConsoleRun keyless = Hxctl("profile export Lab");
        EXPECT_EQ(keyless.exitCode, 0u) << Said(keyless);
        EXPECT_EQ(keyless.out.find("1234567890"), std::string::npos) << "a key left without --key clear";

        const ConsoleRun imported = Hxctl(ImportOf("lab.xml", secret.out) + " --name Lab2");
        ASSERT_EQ(imported.exitCode, 0u) << Said(imported);
        for (const char* field : {"SSID", "NetworkType", "AuthenticationMode", "WEPStatus", "WEPDefaultKeyId",
                                  "WEPKeyLength", "WEPKey64_0"}) {
            const auto saved = ReadStored("Profile\\Lab", field), copied = ReadStored("Profile\\Lab2", field);
            ASSERT_TRUE(saved && copied) << field;
            EXPECT_EQ(saved->number, copied->number) << field;
            EXPECT_EQ(saved->text, copied->text) << field;
        }
    });

    Step("a name outside the ANSI code page arrives whole", [&] {
        const std::string name = "Caf\xC3\xA9-\xCE\xA9";  // "Café-Ω" in UTF-8
        const ConsoleRun saved = Hxctl("profile save " + name);
        ASSERT_EQ(saved.exitCode, 0u) << Said(saved);
        EXPECT_NE(Hxctl("-t profile list").out.find("\n" + name + "\n"), std::string::npos);
    });

    Step("WPA2: WPA2-PSK and mixed networks join, WPA3 only is refused, a netsh WPA2-PSK profile joins", [&] {
        const ConsoleRun wpa2 = Hxctl("connect Harbour-Cafe --passphrase", "harbour-cafe-2019\n");
        ASSERT_EQ(wpa2.exitCode, 0u) << Said(wpa2);
        EXPECT_EQ(ReportValue(Hxctl("-t status").out, "auth"), "wpa2-psk");
        const ConsoleRun mixed = Hxctl("connect Mixed-WPA-WPA2 --passphrase", "mixed-passphrase\n");
        ASSERT_EQ(mixed.exitCode, 0u) << Said(mixed);
        EXPECT_TRUE(Authorised("Mixed-WPA-WPA2", 5s)) << SimCommand("events");
        const ConsoleRun refused = Hxctl("connect WPA3-Only --passphrase", "wpa3-passphrase\n");
        EXPECT_EQ(refused.exitCode, 5u) << Said(refused);
        EXPECT_NE(refused.err.find(JoinRefusalText(JoinRefusal::Wpa3Only)), std::string::npos) << Said(refused);
        EXPECT_TRUE(Authorised("Mixed-WPA-WPA2", 1s)) << "the refusal changed the link";

        const std::string flat = NetshProfile("Flat", "WPA2PSK", "AES", "Flat-2B", "second-floor-left");
        ASSERT_EQ(Hxctl(ImportOf("flat.xml", flat)).exitCode, 0u);
        ASSERT_EQ(Hxctl("profile load Flat").exitCode, 0u);
        EXPECT_TRUE(Authorised("Flat-2B", 30s)) << SimCommand("events");
        EXPECT_EQ(StoredNumber("LastSetting", "AuthenticationMode"), 7u);
    });

    Step("a netsh profile imports and joins", [&] {
        const ConsoleRun imported = Hxctl(ImportOf("home.xml", NetshProfile("Home", "WPAPSK", "TKIP")));
        ASSERT_EQ(imported.exitCode, 0u) << Said(imported);
        ASSERT_EQ(Hxctl("profile load Home").exitCode, 0u);
        EXPECT_TRUE(Authorised(kWpaTkipSsid, 30s)) << SimCommand("events");
        EXPECT_TRUE(LinkInfoShows(kWpaTkipSsid)) << LinkInfoSsid();
        // And back to the imported copy of the WEP profile.
        ASSERT_EQ(Hxctl("profile load Lab2").exitCode, 0u);
        EXPECT_TRUE(Joined("WEP-Lab", 10s)) << SimCommand("events");
        EXPECT_EQ(SimState("link.wep-keys-match"), "yes");
        EXPECT_TRUE(LinkInfoShows("WEP-Lab")) << LinkInfoSsid();
    });

    Step("monitor sees an unplug and a replug", [&] {
        // monitor's first poll prints nothing; it must have been made before the unplug. It
        // comes as soon as the program has started: given twice as long as another hxctl
        // takes just now to start and be answered.
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_EQ(Hxctl("-t status").exitCode, 0u);
        const auto oneRequest = std::chrono::steady_clock::now() - asked;
        ConsoleStream monitor;
        ASSERT_TRUE(monitor.Start(ProgramCommand("hxctl.exe", "-t monitor"))) << monitor.Failure();
        std::this_thread::sleep_for(std::max<std::chrono::steady_clock::duration>(1500ms, 2 * oneRequest));
        const size_t from = monitor.Output().size();
        ASSERT_TRUE(SimOk("unplug"));
        const auto says = [&](const char* line, size_t after) {
            return monitor.Output().find(line, after) != std::string::npos;
        };
        EXPECT_TRUE(WaitFor([&] { return says("adapter: no\n", from); }, 5s)) << monitor.Output();
        const size_t unplugged = monitor.Output().size();
        ASSERT_TRUE(SimOk("plug"));
        EXPECT_TRUE(WaitFor([&] { return says("adapter: yes\n", unplugged); }, 10s)) << monitor.Output();
        EXPECT_TRUE(monitor.Running());
        EXPECT_TRUE(Joined("WEP-Lab", 20s)) << "the replugged adapter joins again";
    });

    Step("bad invocations are refused and change nothing", [&] {
        const std::string truncated = NetshProfile("Cut", "WPAPSK", "TKIP");
        const struct {
            const char* what;
            std::string arguments, input;
            DWORD status;
        } refusals[] = {
            {"unknown verb", "frobnicate", "", 2},
            {"unknown option", "status --loud", "", 2},
            {"SSID of 33 bytes", "connect " + std::string(33, 'S'), "", 2},
            {"WEP key of 6 hex digits", "connect WEP-Lab --wep-key 1:123456", "", 2},
            {"WEP key with a non-hex digit", "connect WEP-Lab --wep-key 1:123456789G", "", 2},
            {"pass phrase of 7 characters", "connect WPA-AES-Office --passphrase", "1234567\n", 2},
            {"pass phrase on the command line", "connect WPA-AES-Office --passphrase aes-passphrase", "", 2},
            {"profile name taken", "profile save lab", "", 2},
            {"no such profile", "profile load Nowhere", "", 10},
            {"truncated XML", ImportOf("cut.xml", truncated.substr(0, truncated.size() / 2)), "", 2},
            {"WPA3 profile", ImportOf("wpa3.xml", NetshProfile("Wpa3", "WPA3SAE", "AES")), "", 2},
        };
        const std::string before = Unchanged();
        for (const auto& refusal : refusals) {
            const ConsoleRun run = Hxctl(refusal.arguments, refusal.input);
            EXPECT_EQ(run.exitCode, refusal.status) << refusal.what << "\n" << Said(run);
            EXPECT_FALSE(run.err.empty()) << refusal.what << ": no message";
        }
        EXPECT_EQ(Unchanged(), before);
    });

    Step("not running", [&] {
        ASSERT_GE(ExitThroughTray().count(), 0);
        const ConsoleRun run = Hxctl("status");
        EXPECT_EQ(run.exitCode, 8u) << Said(run);
        EXPECT_NE(run.err.find("HX-88U Utility is not running"), std::string::npos) << Said(run);
    });
}

// A copy of the utility's program in a folder of its own serves the pipe: the name alone
// earns it no pass phrase. Once the installer's record names that folder, it is the
// installed utility and gets it.
TEST_F(HxctlJourney, AProgramOfTheUtilitysNameElsewhereGetsNoSecret) {
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "hxctl-impostor-" + std::to_string(::GetCurrentProcessId());
    const char* const files[] = {"HX88UUtil.exe", "VUVAVO.dll", "dot1x_dll.dll"};
    const char* const uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HX88UUtil";
    struct Cleanup {
        std::function<void()> run;
        ~Cleanup() { run(); }
    } cleanup{[&] {
        if (utility.Running()) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            if (!utility.WaitForExit(10s)) utility.Kill();
        }
        ::RegDeleteKeyA(HKEY_CURRENT_USER, uninstall);
        for (const char* file : files) ::DeleteFileA((folder + "\\" + file).c_str());
        ::RemoveDirectoryA(folder.c_str());
    }};
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file : files)
        ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE)) << file;
    ASSERT_TRUE(utility.Start("", folder));
    ASSERT_NE(window = utility.WaitForMainWindow(10s), nullptr);
    // A request without a secret still goes to the process that owns the utility's window.
    ASSERT_TRUE(WaitFor([] { return ReportValue(Hxctl("-t status").out, "adapter") == "yes"; }, 30s));

    const std::string connect = "connect WPA-AES-Office --cipher aes --passphrase";
    const ConsoleRun refused = Hxctl(connect, "aes-passphrase\n");
    EXPECT_EQ(refused.exitCode, 8u) << Said(refused);
    EXPECT_NE(refused.err.find("HX88UUtil.exe, not the utility beside hxctl or the installed one"), std::string::npos)
        << Said(refused);
    EXPECT_NE(StoredText("LastSetting", "Dot1xPassphrase"), "aes-passphrase") << "the pass phrase reached the copy";

    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, uninstall, "InstallLocation", REG_SZ, folder.c_str(),
                                static_cast<DWORD>(folder.size() + 1)),
              ERROR_SUCCESS);
    const ConsoleRun installed = Hxctl(connect, "aes-passphrase\n");
    EXPECT_EQ(installed.exitCode, 0u) << Said(installed);
    EXPECT_EQ(StoredText("LastSetting", "Dot1xPassphrase"), "aes-passphrase");
}

}  // namespace
}  // namespace hx::test
