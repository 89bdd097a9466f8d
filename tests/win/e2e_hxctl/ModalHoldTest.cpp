// A request of hxctl that comes while the utility shows a modal dialog waits until the
// dialog has ended, and then runs: the dialog's answer acts on the setting the user saw.
#include <functional>
#include <future>

#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

class ModalHold : public PageJourney {
protected:
    static std::future<ConsoleRun> HxctlInBackground(const std::string& arguments) {
        return std::async(std::launch::async,
                          [=] { return RunConsole(ProgramCommand("hxctl.exe", arguments), "", 120s); });
    }
    // While the dialog stays open the request has changed nothing, and hxctl waits: it has
    // had ample time to run (hxctl connect joins the lobby in about two seconds).
    static void HeldFor(std::future<ConsoleRun>& hxctl, const std::function<bool()>& changed) {
        EXPECT_FALSE(WaitFor([&] { return changed() || hxctl.wait_for(0s) == std::future_status::ready; }, 10s))
            << "the request ran inside the dialog's modal loop";
    }
};

TEST_F(ModalHold, AConnectWaitsForTheSiteSurveyQuestion) {
    ASSERT_NO_FATAL_FAILURE(StartAndOpen());
    ASSERT_NO_FATAL_FAILURE(ConnectTo("WPA-AES-Office"));
    HWND question = WaitForProcessDialog(utility.ProcessId(), "Use Previous WPA Setting", 5s);
    ASSERT_NE(question, nullptr);

    auto hxctl = HxctlInBackground("connect Open-Lobby --wait 60");
    HeldFor(hxctl, [] { return SimState("settings.ssid") != "\"WPA-AES-Office\""; });
    EXPECT_TRUE(::IsWindow(question));

    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_EQ(hxctl.wait_for(90s), std::future_status::ready);
    const ConsoleRun run = hxctl.get();
    EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
    EXPECT_TRUE(Joined("Open-Lobby", 10s)) << SimCommand("events");
    EXPECT_EQ(StoredText("LastSetting", "SSID"), "Open-Lobby");
}

TEST_F(ModalHold, ADeleteWaitsForTheProfileEditor) {
    ASSERT_NO_FATAL_FAILURE(StartAndOpen());
    const ConsoleRun saved = RunConsole(ProgramCommand("hxctl.exe", "profile save X"));
    ASSERT_EQ(saved.exitCode, 0u) << saved.err;
    ASSERT_TRUE(Show(IDC_NAV_PROFILE, ProfilePage()));
    HWND list = ::GetDlgItem(ProfilePage(), IDC_PROF_LIST);
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    ::SendMessageA(ProfilePage(), WM_COMMAND, MAKEWPARAM(IDC_PROF_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ClickButton(ProfilePage(), IDC_PROF_MODIFY);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = ProcessDialogHolding(utility.ProcessId(), IDC_ED_NAME, window)) != nullptr; }, 5s));
    ASSERT_EQ(Text(::GetDlgItem(editor, IDC_ED_NAME)), "X");

    auto hxctl = HxctlInBackground("profile delete X");
    HeldFor(hxctl, [] { return StoredText("", "ProfileLink") != "X"; });

    ClickButton(editor, IDC_ED_OK);
    ASSERT_EQ(hxctl.wait_for(90s), std::future_status::ready);
    const ConsoleRun run = hxctl.get();
    EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
    // The editor stored X, then the delete took it out of the list.
    EXPECT_EQ(StoredText("", "ProfileLink"), "");
}

}  // namespace
}  // namespace hx::test
