// The simulated adapter through VUVAVO.dll's import library, as the utility calls it, and
// the control channel from this process and from the hxsim tool in another process.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "sim/EapolTransport.h"
#include "sim/SimulatorExports.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/common/UtilityProcess.h"
#include "tools/hxsim/ControlClient.h"

namespace {

std::string Control(const std::string& command) {
    std::vector<char> reply(64 * 1024);
    HxSimControl(command.c_str(), reply.data(), static_cast<int>(reply.size()));
    return reply.data();
}

bool OpenAdapter(hx::AdapterHandle& record) {
    std::vector<hx::AdapterListEntry> list(100);
    const int n = CreateNICAdapterList(list.data(), 100);
    for (int i = 0; i < n; ++i) {
        const std::string key = std::string("SYSTEM\\CurrentControlSet\\Control\\Class\\"
                                            "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") + list[i].instanceKey;
        char value[256] = {};
        unsigned long size = sizeof value;
        if (QueryHLMReg(key.c_str(), "MatchingDeviceId", value, &size) != 0) continue;
        if (_stricmp(value, "usb\\vid_4856&pid_0088") != 0) continue;
        std::memset(&record, 0, sizeof record);
        record.deviceHandle = -1;
        std::memcpy(record.name, list[i].name, sizeof record.name);
        if (HxOpenAdapter(&record) != 0) return true;
    }
    return false;
}

class VuvavoDll : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Control("plug").substr(0, 2), "ok");
        ASSERT_TRUE(OpenAdapter(adapter));
    }
    hx::AdapterHandle adapter{};
};

TEST_F(VuvavoDll, TheAdapterIsFoundOpenedAndJoinsAnOpenNetwork) {
    unsigned char rates[16] = {};
    ASSERT_EQ(QueryWL_SupportedRate(&adapter, rates), 0);
    EXPECT_EQ(rates[0], 0x82);
    EXPECT_EQ(QueryWL_DriverVersion(&adapter), 0x01024C15);
    ASSERT_EQ(SetWL_NetworkType(&adapter, 1), 0);
    ASSERT_EQ(SetWL_AuthenticationMode(&adapter, 0), 0);
    ASSERT_EQ(SetWL_WEPStatus(&adapter, 1), 0);
    ASSERT_EQ(SetWL_SSID(&adapter, "Open-Lobby", 10), 0);
    int state = -1;
    for (int i = 0; i < 40 && state != 0; ++i) {  // association takes a few hundred ms here
        ::Sleep(100);
        state = QueryWL_ConnectState(&adapter);
    }
    ASSERT_EQ(state, 0);
    char ssid[100] = {};
    EXPECT_EQ(QueryWL_SSID(&adapter, ssid), 10);
    EXPECT_STREQ(ssid, "Open-Lobby");
    EXPECT_EQ(QueryWL_Channel(&adapter), 1);
    EXPECT_GT(QueryWL_CurrentLinkSpeed(&adapter), 0);

    // The association scanned, so the list holds the network, in the documented layout.
    std::vector<unsigned char> survey(hx::kSurveyBufferSize);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&adapter, survey.data(), hx::kSurveyBufferSize), 0);
    ASSERT_EQ(WL_FilteSiteSurveyData(&adapter, survey.data()), 0);
    uint32_t count;
    std::memcpy(&count, survey.data(), 4);
    EXPECT_EQ(count, 24u);  // every access point of the default world once
    uint32_t firstLength, ssidLength;
    std::memcpy(&firstLength, survey.data() + 4, 4);
    std::memcpy(&ssidLength, survey.data() + 4 + 12, 4);
    EXPECT_GE(firstLength, 116u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(survey.data() + 4 + 16), ssidLength), "Open-Lobby");
}

TEST_F(VuvavoDll, UnplugThroughTheControlExportFailsTheCalls) {
    ASSERT_EQ(Control("unplug").substr(0, 2), "ok");
    EXPECT_EQ(QueryWL_ConnectState(&adapter), -1);
    ASSERT_EQ(Control("plug").substr(0, 2), "ok");
    EXPECT_EQ(QueryWL_ConnectState(&adapter), -1);
    ASSERT_TRUE(OpenAdapter(adapter));
    EXPECT_NE(QueryWL_ConnectState(&adapter), -1);
    EXPECT_EQ(HxSimControl("no-such-command", nullptr, 0), -1);
}

TEST_F(VuvavoDll, CertificatesOfTheWorldAreFoundByStoreSubjectAndIssuer) {
    HxSimCertificate cert{};
    ASSERT_EQ(HxSimFindCertificate("MY", "CN=HX Test User", "CN=HX Test Root CA", &cert), 0);
    EXPECT_EQ(cert.hasPrivateKey, 1);
    EXPECT_EQ(cert.exportable, 1);
    EXPECT_EQ(HxSimFindCertificate("ROOT", "CN=HX Test User", "CN=HX Test Root CA", &cert), -1);
    ASSERT_EQ(HxSimFindCertificate("my", "CN=HX Locked User", "CN=HX Test Root CA", &cert), 0);
    EXPECT_EQ(cert.exportable, 0);
    EXPECT_EQ(HxSimFindCertificate(nullptr, "x", "y", &cert), -1);
}

TEST_F(VuvavoDll, TheControlPipeAnswersThisProcessAndTheToolInAnother) {
    if (hx::test::RunsEmulated()) GTEST_SKIP() << hx::test::kNoSecondProcessWhenEmulated;
    std::string reply;
    ASSERT_TRUE(hxsim::SendControlCommand(hxsim::ControlPipeName("win_sim"), "fail QueryWL_RSSI once", reply));
    EXPECT_EQ(reply.substr(0, 3), "ok\n");
    EXPECT_EQ(QueryWL_RSSI(&adapter), -1);
    EXPECT_NE(QueryWL_RSSI(&adapter), -1);

    using hx::test::ConsoleRun;
    using hx::test::RunConsole;
    const ConsoleRun set = RunConsole("hxsim.exe --target win_sim wzc 2");
    EXPECT_EQ(set.exitCode, 0u) << set.out << set.err;
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 2);
    const ConsoleRun shown = RunConsole("hxsim.exe --target win_sim show");
    EXPECT_EQ(shown.exitCode, 0u);
    EXPECT_NE(shown.out.find("wzc.status: 2"), std::string::npos) << shown.out;
    EXPECT_EQ(RunConsole("hxsim.exe --target win_sim frobnicate").exitCode, 1u);
    EXPECT_EQ(RunConsole("hxsim.exe --target nobody-runs-this show").exitCode, 2u);
    Control("wzc 0");
}

// A second server of the same name (another copy of the program starting, say) must find
// the name taken at every moment, between two clients too, and the first one keeps serving.
TEST_F(VuvavoDll, NoOtherServerTakesTheControlPipeBetweenTwoClients) {
    if (hx::test::RunsEmulated())
        GTEST_SKIP() << "a rival creating the name without pause brings 32-bit Wine down under qemu-i386";
    const std::string pipe = hxsim::ControlPipeName("win_sim");
    std::atomic<bool> done{false};
    std::atomic<int> taken{0};
    std::thread rival([&] {
        while (!done) {
            HANDLE other = ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096,
                                              0, nullptr);
            if (other != INVALID_HANDLE_VALUE) {
                ++taken;
                ::CloseHandle(other);
            }
            ::Sleep(0);  // lets the client and the server in (under an emulator too)
        }
    });
    int served = 0;
    for (int i = 0; i < 100 && served == i; ++i) {  // stops at the first request not served
        std::string reply;
        if (hxsim::SendControlCommand(pipe, "show", reply, 2000) && reply.substr(0, 3) == "ok\n") ++served;
    }
    done = true;
    rival.join();
    EXPECT_EQ(taken, 0) << "another server took the name";
    EXPECT_EQ(served, 100);
}

// A client that connects and says nothing is dropped after a while: the next one is served.
TEST_F(VuvavoDll, ASilentClientDoesNotHoldTheControlPipeForGood) {
    if (hx::test::RunsEmulated()) GTEST_SKIP() << hx::test::kNoPipeCancelWhenEmulated;
    const std::string pipe = hxsim::ControlPipeName("win_sim");
    HANDLE silent = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 50 && silent == INVALID_HANDLE_VALUE; ++i) {
        if (::WaitNamedPipeA(pipe.c_str(), 200))
            silent = ::CreateFileA(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ASSERT_NE(silent, INVALID_HANDLE_VALUE);
    std::string reply;
    EXPECT_TRUE(hxsim::SendControlCommand(pipe, "show", reply, 30000)) << "the silent client still holds the pipe";
    ::CloseHandle(silent);
}

struct LocalFreer {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

// The control pipe is owned by the user this process runs as, and its access list allows
// that user and no one else: read back from a client handle of the pipe.
TEST_F(VuvavoDll, TheControlPipeIsOwnedByAndOpenToThisUserAlone) {
    // Seen in a loaded full run: its first request waited for the answer until the program's
    // time ran out; alone it passed.
    if (hx::test::RunsEmulated()) GTEST_SKIP() << "its first request to the pipe hung under qemu-i386 on a loaded machine";
    const std::string pipe = hxsim::ControlPipeName("win_sim");
    std::string reply;
    ASSERT_TRUE(hxsim::SendControlCommand(pipe, "show", reply)) << "the pipe is served";
    HANDLE client = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 50 && client == INVALID_HANDLE_VALUE; ++i) {
        if (::WaitNamedPipeA(pipe.c_str(), 200))
            client = ::CreateFileA(pipe.c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = ::GetSecurityInfo(client, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                         &owner, nullptr, &dacl, nullptr, &descriptor);
    ::CloseHandle(client);
    ASSERT_EQ(read, static_cast<DWORD>(ERROR_SUCCESS));
    const std::unique_ptr<void, LocalFreer> descriptorHolder(descriptor);

    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    std::vector<BYTE> user(256);
    DWORD size = 0;
    const BOOL gotUser = ::GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    ::CloseHandle(token);
    ASSERT_TRUE(gotUser);
    const PSID me = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;

    EXPECT_TRUE(owner != nullptr && ::EqualSid(owner, me)) << "owner";
    ASSERT_NE(dacl, nullptr) << "a null access list would let everyone in";
    std::vector<std::string> allowed;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        const bool mine = ::EqualSid(reinterpret_cast<PSID>(&ace->SidStart), me) != FALSE;
        allowed.push_back(std::string(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE ? "allow " : "other ") +
                          (mine ? "me" : "someone else"));
    }
    EXPECT_EQ(allowed, std::vector<std::string>{"allow me"});
}

}  // namespace
