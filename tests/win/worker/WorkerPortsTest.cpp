#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"
#include "config/win32/RegistryAppProfile.h"
#include "auth/AuthWorker.h"
#include "auth/SupplicantLibrary.h"
#include "auth/win32/UtilityAuthWorker.h"
#include "auth/win32/Win32WorkerPorts.h"
#include "config/MemoryAppProfile.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/FakeSupplicantLibrary.h"
#include "tests/native/worker/SurveyList.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::win {
namespace {

using namespace std::chrono_literals;

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length);
}

std::string WindowText(HWND window) {
    char buffer[512] = {};
    ::GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

TEST(DirectoryOfModulePath, CutsAtTheLastBackslash) {
    const struct { const char* path; const char* directory; } cases[] = {
        {"Z:\\work\\bin\\HX88UUtil.exe", "Z:\\work\\bin"},
        {"C:\\HX88UUtil.exe", "C:"},
        {"\\\\server\\share\\dir\\a.exe", "\\\\server\\share\\dir"},
        {"HX88UUtil.exe", ""},
        {"Z:/work/bin/HX88UUtil.exe", ""},   // only "\" separates
    };
    for (const auto& c : cases) EXPECT_EQ(DirectoryOfModulePath(c.path), c.directory) << c.path;
}

TEST(ModuleDirectoryPort, MakesTheProgramsFolderCurrent) {
    const std::string original = CurrentDirectory();
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    ASSERT_TRUE(::SetCurrentDirectoryA(windows));
    ASSERT_NE(_stricmp(CurrentDirectory().c_str(), test::ProgramFolder().c_str()), 0);

    ModuleDirectoryPort().EnterProgramDirectory();
    EXPECT_EQ(_stricmp(CurrentDirectory().c_str(), test::ProgramFolder().c_str()), 0)
        << CurrentDirectory() << " vs " << test::ProgramFolder();
    ::SetCurrentDirectoryA(original.c_str());
}

// The box the port shows: found by its caption, read, and closed with OK.
class MessageBoxProbe {
public:
    explicit MessageBoxProbe(std::string caption) : caption_(std::move(caption)) {}
    ~MessageBoxProbe() { Close(); }
    HWND Wait() {
        test::WaitFor([&] { return (box_ = ::FindWindowA("#32770", caption_.c_str())) != nullptr; }, 5000ms);
        return box_;
    }
    void Close() {
        if (box_ == nullptr) return;
        ::SendMessageA(box_, WM_COMMAND, IDOK, 0);
        test::WaitFor([&] { return !::IsWindow(box_); }, 5000ms);
        box_ = nullptr;
    }

private:
    std::string caption_;
    HWND box_ = nullptr;
};

TEST(OwnerlessMessageBoxPort, ShowsAnExclamationBoxWithOkAndReturnsAtOnce) {
    const std::string caption = "HxWorkerBox" + std::to_string(::GetCurrentProcessId());
    OwnerlessMessageBoxPort port(caption);
    const auto before = std::chrono::steady_clock::now();
    port.ShowExclamation(kCertificateExportFailureText);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);

    MessageBoxProbe probe(caption);
    const HWND box = probe.Wait();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), kCertificateExportFailureText);
    ASSERT_NE(::GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr);
    // The exclamation icon is the system's shared one.
    bool exclamation = false;
    const HICON expected = ::LoadIconA(nullptr, IDI_EXCLAMATION);
    ASSERT_NE(expected, nullptr);
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0)) == expected) exclamation = true;
    EXPECT_TRUE(exclamation);
    probe.Close();
}

TEST(OwnerlessMessageBoxPort, AnOpenBoxDoesNotHoldUpStopWorker) {
    const std::string caption = "HxWorkerStop" + std::to_string(::GetCurrentProcessId());
    test::FakeAdapterLibrary adapter;
    adapter.connectState = 0;
    adapter.bssid = {0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
    adapter.surveyData = test::SurveyList({{adapter.bssid, {0xDD, 0x02, 0x00, 0x50}}});
    test::FakeSupplicantLibrary supplicant;
    supplicant.SetResult("genMyCertFile", 1);
    MemoryAppProfile profile;
    UtilityState state;
    InitialiseProcessState(state);
    state.current.AuthenticationMode = AuthMode::Wpa;
    state.current.WEPStatus = WepStatus::Tkip;
    state.current.Dot1xProtocol = Dot1xMethod::EapTls;
    ModuleDirectoryPort directory;
    OwnerlessMessageBoxPort messages(caption);
    AuthWorker worker(adapter, supplicant, state, profile, directory, messages, WorkerTiming{5ms});

    worker.StartWorker();
    MessageBoxProbe probe(caption);
    ASSERT_NE(probe.Wait(), nullptr);
    const auto before = std::chrono::steady_clock::now();
    worker.StopWorker();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 200ms);
    EXPECT_EQ(adapter.wzcStarts, 1);
    EXPECT_NE(::FindWindowA("#32770", caption.c_str()), nullptr);   // still open for the user
    probe.Close();
}

TEST(UtilityAuthWorker, RunsOverTheExportedLibrariesAndStopsPromptly) {
    MemoryAppProfile profile;
    UtilityState state;
    InitialiseProcessState(state);
    state.current.AuthenticationMode = AuthMode::WpaPsk;
    state.libraries.supplicant.kind = LibraryKind::StandIn;
    UtilityAuthWorker worker(ExportedAdapterLibrary(), ExportedSupplicantLibrary(), state, profile);
    EXPECT_FALSE(worker.WorkerActive());
    worker.StartWorker();
    EXPECT_TRUE(worker.WorkerActive());
    ::Sleep(50);   // the worker now sleeps in its first wait for the link
    const auto before = std::chrono::steady_clock::now();
    worker.StopWorker();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 200ms);
    EXPECT_FALSE(worker.WorkerActive());
    // Without a usable supplicant library there is nothing to negotiate keys with.
    state.libraries.supplicant.kind = LibraryKind::Unusable;
    UtilityAuthWorker without(ExportedAdapterLibrary(), ExportedSupplicantLibrary(), state, profile);
    without.StartWorker();
    EXPECT_FALSE(without.WorkerActive());
}

}  // namespace
}  // namespace hx::win
