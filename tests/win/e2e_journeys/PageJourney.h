// Journeys through the pages: the window opened from the tray and its pages driven through
// their controls, as a user clicks and types.
#pragma once

#include "tests/win/common/RemoteListView.h"
#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {

class PageJourney : public Journey {
protected:
    // Starts with a last setting that joins nothing, so every link comes from the pages.
    void StartAndOpen() {
        ASSERT_TRUE(SeedText("LastSetting", "SSID", "Nowhere"));
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(OpenFromTray(window, 15s)) << "the adapter was never ready";
    }

    HWND ConfigPage() const { return PageWith(window, IDC_CFG_REGION, "ComboBox"); }
    HWND EncryptionPage() const { return PageWith(window, IDC_WEP_PASSPHRASE, "Edit"); }
    HWND SitePage() const { return PageWith(window, IDC_SITE_LIST, "SysListView32"); }
    HWND ProfilePage() const { return PageWith(window, IDC_PROF_LIST, "ListBox"); }
    bool Show(int label, HWND page) {
        ClickLabel(window, label);
        return WaitFor([&] { return InFront(page); }, 2s);
    }

    // Waits for the Site Survey list to show the network, selects its first row and clicks
    // Connect.
    void ConnectTo(const std::string& ssid) {
        ASSERT_TRUE(Show(IDC_NAV_SITE_SURVEY, SitePage()));
        HWND list = ::GetDlgItem(SitePage(), IDC_SITE_LIST);
        RemoteListView rows(list);
        ASSERT_TRUE(rows.Usable());
        int row = -1;
        ASSERT_TRUE(WaitFor([&] {
            if (!::IsWindowEnabled(list)) return false;
            for (int r = 0; r < rows.Count(); ++r)
                if (rows.Text(r, 1) == ssid) return (row = r) >= 0;
            return false;
        }, 15s)) << ssid << " never listed";
        ASSERT_TRUE(rows.Select(row));
        ClickButton(SitePage(), IDC_SITE_CONNECT);
    }

    // The question Connect asks for an encrypted network: its text, answered with the button.
    std::string AnswerQuestion(const std::string& caption, int button) {
        HWND box = WaitForProcessDialog(utility.ProcessId(), caption, 5s);
        if (box == nullptr) return "(no question)";
        const std::string text = MessageBoxText(box);
        ::PostMessageA(box, WM_COMMAND, button, 0);
        WaitFor([&] { return !::IsWindow(box); }, 2s);
        return text;
    }

    // A WEP key typed into a key box: the box is focused first, which makes it take typing.
    void TypeWepKey(int box, const std::string& text) {
        HWND page = EncryptionPage();
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(box, EN_SETFOCUS), reinterpret_cast<LPARAM>(::GetDlgItem(page, box)));
        SetControlText(page, box, text);
    }

    // Apply on the Encryption page, which brings Link Info to the front.
    void ApplyEncryption() {
        ClickButton(EncryptionPage(), IDC_WEP_APPLY);
        ASSERT_TRUE(WaitFor([&] { return InFront(LinkInfoPage()); }, 3s)) << "Apply shows Link Info";
    }

    bool Joined(const std::string& ssid, std::chrono::milliseconds limit) {
        return WaitFor([&] { return SimState("link.ssid") == "\"" + ssid + "\"" && SimState("link.associated") == "yes"; },
                       limit);
    }
    bool Authorised(const std::string& ssid, std::chrono::milliseconds limit) {
        return WaitFor([&] { return SimState("link.ssid") == "\"" + ssid + "\"" && SimState("port.authorised") == "yes"; },
                       limit);
    }
};

}  // namespace hx::test
