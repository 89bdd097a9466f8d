// The Encryption page in-process: loading, the key boxes with the real controls, Apply
// with its pass phrase rule and what it writes to the registry, Cancel.
#include <gtest/gtest.h>

#include "config/win32/RegistryAppProfile.h"
#include "pages/WepKeyEntry.h"
#include "pages/win32/CPage_Wep.h"
#include "tests/win/pages/PagesTestSupport.h"

namespace hx::win {
namespace {

using test::Choose;
using test::Enabled;
using test::Selected;
using test::Text;

constexpr int kKeyBoxes[] = {IDC_WEP_KEY_0, IDC_WEP_KEY_1, IDC_WEP_KEY_2, IDC_WEP_KEY_3};

class EncryptionPageTest : public ::testing::Test {
protected:
    EncryptionPageTest() {
        WlanSetting& s = world.state.current;
        s.SSID = "WPA-TKIP-Home";
        s.NetworkType = NetworkType::Infrastructure;
        s.Channel = 6;
        s.DesiredRate = "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00";
        s.WEPStatus = WepStatus::Tkip;
        s.AuthenticationMode = AuthMode::WpaPsk;
        s.WEPKeyLength = 64;
        s.WEPDefaultKeyId = 1;
        s.Dot1xPassphrase = "tkip-passphrase";
        page.AttachShell(world.shell);
        page.UseContext(world.Context());
        page.Create(host.Get());
        ::ShowWindow(page.Hwnd(), SW_SHOW);
        page.Load();
    }
    HWND Page() const { return page.Hwnd(); }
    // Calls that reach the adapter (the key block converts hex text through the library).
    std::vector<std::string> AdapterCalls() const {
        std::vector<std::string> calls;
        for (const std::string& name : world.library.CallNames())
            if (name != "HexStrToBin") calls.push_back(name);
        return calls;
    }
    // Apply, answering the message box it may show; returns the box's text ("" for none).
    std::string ApplyAnsweringBox() {
        std::string shown, caption;
        test::ModalScript script;
        script.Then([&] {
            HWND box = test::FindMessageBox();
            if (box == nullptr) return false;
            shown = test::MessageBoxText(box);
            caption = test::WindowText(box);
            ::SendMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        test::ClickNow(Page(), IDC_WEP_APPLY);
        if (!shown.empty()) {
            EXPECT_EQ(caption, ApplicationNameFromModule(nullptr));
        }
        return shown;
    }

    test::HostWindow host;
    test::PageWorld world;
    CPage_Wep page;
};

TEST_F(EncryptionPageTest, LoadShowsTheSecurityFieldsWithEveryKeyMasked) {
    EXPECT_EQ(test::ListCount(Page(), IDC_WEP_ENCRYPT), 4);
    EXPECT_EQ(Selected(Page(), IDC_WEP_ENCRYPT), 2);  // TKIP
    EXPECT_EQ(Selected(Page(), IDC_WEP_AUTH), 3);     // WPA-PSK
    EXPECT_EQ(Text(Page(), IDC_WEP_PASSPHRASE), "tkip-passphrase");
    EXPECT_EQ(::IsDlgButtonChecked(Page(), IDC_WEP_DEFAULT_KEY_1), BST_CHECKED);
    EXPECT_EQ(Selected(Page(), IDC_WEP_KEY_LENGTH), 0);
    EXPECT_TRUE(Enabled(Page(), IDC_WEP_PASSPHRASE));
    for (int id : kKeyBoxes) {
        EXPECT_EQ(Text(Page(), id), "*****") << id;
        EXPECT_FALSE(Enabled(Page(), id)) << id;
    }
    EXPECT_FALSE(Enabled(Page(), IDC_WEP_KEY_FORMAT));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(Page(), IDC_WEP_USERNAME)));

    world.state.current.NetworkType = NetworkType::AdHoc;
    page.Load();
    EXPECT_EQ(test::ListCount(Page(), IDC_WEP_ENCRYPT), 2);
    EXPECT_EQ(Selected(Page(), IDC_WEP_ENCRYPT), 0);  // TKIP is not offered: "Disable"
    EXPECT_EQ(Selected(Page(), IDC_WEP_AUTH), 2);
    EXPECT_FALSE(Enabled(Page(), IDC_WEP_PASSPHRASE));
}

TEST_F(EncryptionPageTest, ShortPassphraseShowsTheMessageFocusesTheBoxAndChangesNothing) {
    const WlanSetting before = world.state.current;
    ::SetDlgItemTextA(Page(), IDC_WEP_PASSPHRASE, "7 chars");
    Choose(Page(), IDC_WEP_ENCRYPT, 1);
    EXPECT_EQ(ApplyAnsweringBox(), kPassphraseLengthMessage);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(Page(), IDC_WEP_PASSPHRASE));
    EXPECT_EQ(world.state.current, before);
    EXPECT_EQ(world.EntryCount(), 0) << "nothing reached the registry";
    EXPECT_TRUE(AdapterCalls().empty());
    EXPECT_TRUE(world.shell.calls.empty()) << "the page stays";
    EXPECT_EQ(Selected(Page(), IDC_WEP_ENCRYPT), 1) << "the page keeps its edits";
}

TEST_F(EncryptionPageTest, ApplyWithWpaPskStoresThePassphraseAndTheKeyFormat) {
    Choose(Page(), IDC_WEP_AUTH, 0);
    EXPECT_FALSE(Enabled(Page(), IDC_WEP_PASSPHRASE));
    Choose(Page(), IDC_WEP_AUTH, 3);
    EXPECT_TRUE(Enabled(Page(), IDC_WEP_PASSPHRASE));
    Choose(Page(), IDC_WEP_ENCRYPT, 1);
    Choose(Page(), IDC_WEP_KEY_FORMAT, 1);
    Choose(Page(), IDC_WEP_ENCRYPT, 2);
    ::SetDlgItemTextA(Page(), IDC_WEP_PASSPHRASE, "a new pass phrase");
    EXPECT_EQ(ApplyAnsweringBox(), "");

    EXPECT_EQ(world.StringValue("LastSetting", "Dot1xPassphrase"), "a new pass phrase");
    EXPECT_EQ(world.TypeOf("", "WepKeyFormat"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(world.DwordValue("", "WepKeyFormat"), 1u);
    EXPECT_EQ(world.state.keyFormat, 1);
    EXPECT_EQ(world.state.current.Dot1xPassphrase, "a new pass phrase");
    EXPECT_EQ(world.state.current.AuthenticationMode, AuthMode::WpaPsk);
    EXPECT_EQ(world.library.CountOf("SetWL_SSID"), 1) << "the whole setting was applied";
    EXPECT_EQ(world.worker.starts, 1);
    EXPECT_EQ(world.shell.calls, std::vector<std::string>{"ShowPage(LinkInfo)"});
}

TEST_F(EncryptionPageTest, KeysTypedIntoTheBoxesGoIntoTheSettingInKeyOrder) {
    world.lastSetting.WriteLastSettingString("WEPKey64_0", "0A 0B 0C 0D 0E");
    Choose(Page(), IDC_WEP_ENCRYPT, 1);
    Choose(Page(), IDC_WEP_AUTH, 0);
    for (int id : kKeyBoxes) EXPECT_TRUE(Enabled(Page(), id)) << id;
    Choose(Page(), IDC_WEP_KEY_FORMAT, 1);
    for (int id : kKeyBoxes) {
        EXPECT_EQ(Text(Page(), id), "** ** ** ** **") << id;
        EXPECT_EQ(::SendDlgItemMessageA(Page(), id, EM_GETLIMITTEXT, 0, 0), 10) << id;
    }

    // The third key's box is 1028: focusing it empties it, the others stay masked.
    test::Focus(Page(), IDC_WEP_KEY_2);
    EXPECT_EQ(Text(Page(), IDC_WEP_KEY_2), "");
    EXPECT_EQ(Text(Page(), IDC_WEP_KEY_3), "** ** ** ** **");
    test::Type(Page(), IDC_WEP_KEY_2, "41424344");
    Choose(Page(), IDC_WEP_KEY_FORMAT, 0);
    EXPECT_EQ(Text(Page(), IDC_WEP_KEY_2), "ABCD");
    EXPECT_EQ(::SendDlgItemMessageA(Page(), IDC_WEP_KEY_2, EM_GETLIMITTEXT, 0, 0), 5);
    ::CheckDlgButton(Page(), IDC_WEP_DEFAULT_KEY_1, BST_UNCHECKED);
    ::CheckDlgButton(Page(), IDC_WEP_DEFAULT_KEY_2, BST_CHECKED);
    Choose(Page(), IDC_WEP_ENCRYPT, 0);  // "Disable" still writes the keys
    EXPECT_FALSE(Enabled(Page(), IDC_WEP_KEY_2));
    EXPECT_EQ(ApplyAnsweringBox(), "");

    const WlanSetting& s = world.state.current;
    EXPECT_EQ(s.WEPKey[0], "0A 0B 0C 0D 0E") << "a masked key is the stored one";
    EXPECT_EQ(s.WEPKey[1], DefaultWepKeyText(64));
    EXPECT_EQ(s.WEPKey[2], "41 42 43 44 00");
    EXPECT_EQ(s.WEPKey[3], DefaultWepKeyText(64));
    EXPECT_EQ(s.WEPKeyLength, 64);
    EXPECT_EQ(s.WEPDefaultKeyId, 2);
    EXPECT_EQ(s.WEPStatus, WepStatus::Disabled);
    EXPECT_EQ(world.DwordValue("", "WepKeyFormat"), 0u);
    EXPECT_EQ(world.StringValue("LastSetting", "Dot1xPassphrase"), "<missing>") << "only with WPA-PSK";
}

TEST_F(EncryptionPageTest, CancelDiscardsTheEditsAndMasksTheKeysAgain) {
    Choose(Page(), IDC_WEP_ENCRYPT, 1);
    test::Focus(Page(), IDC_WEP_KEY_0);
    test::Type(Page(), IDC_WEP_KEY_0, "xy");
    ::SetDlgItemTextA(Page(), IDC_WEP_PASSPHRASE, "changed");
    test::ClickNow(Page(), IDC_WEP_CANCEL);
    EXPECT_EQ(Selected(Page(), IDC_WEP_ENCRYPT), 2);
    EXPECT_EQ(Text(Page(), IDC_WEP_KEY_0), "*****");
    EXPECT_EQ(Text(Page(), IDC_WEP_PASSPHRASE), "tkip-passphrase");
    EXPECT_TRUE(AdapterCalls().empty());
}

TEST_F(EncryptionPageTest, LabelsPaintOnThePageBackground) {
    for (int id : {IDC_WEP_ENCRYPT_LABEL, IDC_WEP_PASSPHRASE_LABEL, IDC_WEP_DEFAULT_KEY_3}) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        const LRESULT brush = ::SendMessageA(Page(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(::GetDlgItem(Page(), id)));
        EXPECT_NE(brush, 0) << id;
        EXPECT_EQ(::GetBkColor(dc), kPageBackground) << id;
        EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0)) << id;
        ::DeleteDC(dc);
    }
}

}  // namespace
}  // namespace hx::win
