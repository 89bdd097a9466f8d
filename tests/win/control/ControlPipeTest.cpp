// The control channel of the running utility, from another process: answered through the
// utility's window thread, owned by and open to this user alone, unharmed by silent,
// oversized and vanishing clients, and given up when another process holds the name.
#include <aclapi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "app/ControlRecord.h"
#include "app/UtilityState.h"
#include "app/win32/ControlPipeServer.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;

std::string TestPipeName() { return "\\\\.\\pipe\\hx88uutil-test-" + std::to_string(::GetCurrentProcessId()); }

// One request, one reply; empty when no instance answered within the limit.
std::string Call(const std::string& request, DWORD waitMs = 5000) {
    std::string reply(kMaxControlReplyBytes, '\0');
    DWORD read = 0;
    if (!::CallNamedPipeA(TestPipeName().c_str(), const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
                          reply.data(), static_cast<DWORD>(reply.size()), &read, waitMs))
        return {};
    reply.resize(read);
    return reply;
}

// Runs f on a thread of its own. Unlike std::async's, the future never blocks in its
// destructor: a call that never returns fails its case at the ceiling instead of hanging the
// run (its thread is left behind).
template <class F>
auto OnOwnThread(F f) {
    std::packaged_task<decltype(f())()> task(std::move(f));
    auto result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

// Stops the server; false when its stop has not ended within the (generous) ceiling.
bool StopsWithin(std::unique_ptr<win::ControlPipeServer>& server, std::chrono::seconds ceiling = 30s) {
    auto stopped = OnOwnThread([s = std::shared_ptr<win::ControlPipeServer>(std::move(server))]() mutable {
        s.reset();
        return true;
    });
    return stopped.wait_for(ceiling) == std::future_status::ready;
}

HANDLE OpenClient() {
    if (!::WaitNamedPipeA(TestPipeName().c_str(), 5000)) return INVALID_HANDLE_VALUE;
    return ::CreateFileA(TestPipeName().c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                         0, nullptr);
}

class ControlPipe : public ::testing::Test {
protected:
    void SetUp() override {
        if (RunsEmulated()) GTEST_SKIP() << kNoSecondProcessWhenEmulated;
        ::SetEnvironmentVariableA("HX_CONTROL_PIPE", TestPipeName().c_str());
        ClearUtilityRegistry();
    }
    void TearDown() override {
        if (HWND window = utility_.MainWindow()) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        if (!utility_.WaitForExit(5s)) utility_.Kill();
        ::SetEnvironmentVariableA("HX_CONTROL_PIPE", nullptr);
    }
    UtilityProcess utility_;
};

TEST_F(ControlPipe, AnswersThroughTheUtilityAndShrugsOffBadClients) {
    ASSERT_TRUE(utility_.Start());
    ASSERT_NE(utility_.WaitForMainWindow(10s), nullptr);
    std::string reply;
    // Until its first look for the adapter it answers that it is starting.
    ASSERT_TRUE(WaitFor([&] { return (reply = Call("verb=status\n", 200)).rfind("status=ok\n", 0) == 0; }, 10s)) << reply;
    auto records = ParseControlMessage(reply);
    ASSERT_TRUE(records && records->size() == 2) << reply;
    for (const char* field : {"adapter", "control", "link", "auth", "cipher", "pairwise-key", "group-key",
                              "failed-joins", "joins"})
        EXPECT_NE((*records)[1].Find(field), nullptr) << field << " in " << reply;
    // It runs on the stand-ins beside it, and says so.
    EXPECT_EQ((*records)[1].Get("adapter-library"), "simulated") << reply;
    EXPECT_EQ((*records)[1].Get("supplicant-library"), "simulated") << reply;

    // Owned by this user, whose access list allows this user alone.
    HANDLE client = OpenClient();
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(client, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                &owner, nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE user[256];
    DWORD size = 0;
    ASSERT_TRUE(::GetTokenInformation(token, TokenUser, user, sizeof user, &size));
    ::CloseHandle(token);
    const PSID me = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
    EXPECT_TRUE(owner != nullptr && ::EqualSid(owner, me));
    ASSERT_NE(dacl, nullptr);
    ASSERT_EQ(dacl->AceCount, 1);
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(::GetAce(dacl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_TRUE(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ::EqualSid(&ace->SidStart, me));
    ::LocalFree(descriptor);

    // That client says nothing and keeps its end open: it is dropped, and the next one is
    // answered (the server serves one client at a time, so the reply comes only after the drop).
    reply = Call("verb=status\n", 10000);
    EXPECT_EQ(reply.rfind("status=ok\n", 0), 0u) << reply;
    DWORD waiting = 0;
    EXPECT_FALSE(::PeekNamedPipe(client, nullptr, 0, nullptr, &waiting, nullptr)) << "the silent client is dropped";
    ::CloseHandle(client);

    // A client that goes away after half a request.
    client = OpenClient();
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    DWORD mode = PIPE_READMODE_MESSAGE;
    ::SetNamedPipeHandleState(client, &mode, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(client, "verb=sta", 8, &written, nullptr);
    ::CloseHandle(client);

    // Too long, unknown, malformed: refused with the wrong-invocation status.
    for (const std::string& bad : {"verb=status x=" + std::string(5000, 'a') + "\n", std::string("verb=fly\n"),
                                   std::string("no fields here\n")}) {
        reply = Call(bad);
        records = ParseControlMessage(reply);
        ASSERT_TRUE(records && !records->empty()) << reply;
        EXPECT_EQ((*records)[0].Get("code"), "2") << reply;
    }
    EXPECT_EQ(Call("verb=status\n").rfind("status=ok\n", 0), 0u);
    EXPECT_TRUE(utility_.Running());
}

TEST_F(ControlPipe, ANameTakenBeforehandLeavesTheUtilityWithoutItsChannel) {
    // As another running utility would serve it: two instances at most.
    HANDLE taken = ::CreateNamedPipeA(TestPipeName().c_str(), PIPE_ACCESS_DUPLEX,
                                      PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 2, 4096, 4096, 0, nullptr);
    ASSERT_NE(taken, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(utility_.Start());
    HWND window = utility_.WaitForMainWindow(10s);
    ASSERT_NE(window, nullptr);
    // Answered once the window's start is over, which is where its channel begins or not.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer));
    EXPECT_TRUE(utility_.Running());
    // Every instance of the name is ours: the first client reaches this process and a
    // second finds the name busy, where an instance of the utility's (Wine would let it
    // create one) would answer it.
    HANDLE client = OpenClient();
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    ULONG server = 0;
    EXPECT_TRUE(::GetNamedPipeServerProcessId(client, &server));
    EXPECT_EQ(server, ::GetCurrentProcessId());
    HANDLE second = ::CreateFileA(TestPipeName().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    if (second != INVALID_HANDLE_VALUE) ::CloseHandle(second);
    ::CloseHandle(client);
    ::CloseHandle(taken);
}

// A request the window thread has not taken when its client is answered without it (the
// time limit ran out, or the server stops as the utility ends) is never carried out after.
TEST(ControlJobs, ARequestAnsweredWithoutTheWindowNeverRunsAfter) {
    if (RunsEmulated()) GTEST_SKIP() << kNoPipeCancelWhenEmulated;
    ::SetEnvironmentVariableA("HX_CONTROL_PIPE", TestPipeName().c_str());
    constexpr UINT kMessage = WM_APP + 3;
    const struct { const char* what; DWORD limitMs; bool stop; const char* code; } cases[] = {
        {"time limit", 300, false, "1"},
        {"server stopped", 60000, true, "8"},
    };
    for (const auto& c : cases) {
        HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        auto server = win::ControlPipeServer::Start(window, kMessage, c.limitMs);
        ASSERT_NE(server, nullptr) << c.what;
        auto reply = OnOwnThread([] { return Call("verb=status\n"); });
        // The request is posted to the window, whose thread (this one) does not take it.
        MSG posted{};
        for (int waited = 0; !::PeekMessageA(&posted, window, kMessage, kMessage, PM_NOREMOVE) && waited < 500; ++waited)
            ::Sleep(10);
        if (c.stop) {
            ASSERT_TRUE(StopsWithin(server)) << c.what;
        }
        ASSERT_EQ(reply.wait_for(30s), std::future_status::ready) << c.what;
        const auto records = ParseControlMessage(reply.get());
        ASSERT_TRUE(records && !records->empty()) << c.what;
        EXPECT_EQ((*records)[0].Get("code"), c.code) << c.what;

        bool ran = false;
        ASSERT_TRUE(::PeekMessageA(&posted, window, kMessage, kMessage, PM_REMOVE));
        win::RunControlJob(win::TakeControlJob(posted.lParam), [&](const std::string&) {
            ran = true;
            return std::string("status=ok\n");
        });
        EXPECT_FALSE(ran) << c.what;
        // Right after its client has gone: the stop must not be lost while the thread turns
        // to the next connection.
        ASSERT_TRUE(StopsWithin(server)) << c.what;
        ::DestroyWindow(window);
    }
    ::SetEnvironmentVariableA("HX_CONTROL_PIPE", nullptr);
}

// The server stops whenever the stop comes; in some of these rounds it comes while the
// thread turns from a client that went away to waiting for the next.
TEST(ControlJobs, TheServerStopsRightAfterAClientLeaves) {
    if (RunsEmulated()) GTEST_SKIP() << kNoPipeCancelWhenEmulated;
    ::SetEnvironmentVariableA("HX_CONTROL_PIPE", TestPipeName().c_str());
    HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (int round = 0; round < 200; ++round) {
        auto server = win::ControlPipeServer::Start(window, WM_APP + 3);
        ASSERT_NE(server, nullptr) << "round " << round;
        HANDLE client = OpenClient();
        ASSERT_NE(client, INVALID_HANDLE_VALUE) << "round " << round;
        ::CloseHandle(client);
        ASSERT_TRUE(StopsWithin(server)) << "round " << round;
    }
    ::DestroyWindow(window);
    ::SetEnvironmentVariableA("HX_CONTROL_PIPE", nullptr);
}

}  // namespace
}  // namespace hx::test
