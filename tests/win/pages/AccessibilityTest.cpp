// What a screen reader gets from the main window: the objects the navigation labels and the
// meters hand out through WM_GETOBJECT, read back as a client reads them.
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/win/pages/PagesHarness.h"

namespace hx::test {
namespace {

struct Reading {
    std::string name, value, action;
    LONG role = 0, state = 0;
    bool operator==(const Reading&) const = default;
};

std::string Narrow(BSTR text) {
    if (text == nullptr) return {};
    char buffer[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    ::SysFreeString(text);
    return buffer;
}

// The object a control hands out for its client area, as a screen reader in this process
// gets it; released when it goes.
class Accessible {
public:
    explicit Accessible(HWND hwnd) {
        const LRESULT answer = ::SendMessageA(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        if (answer > 0) ::ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object_));
    }
    ~Accessible() {
        if (object_ != nullptr) object_->Release();
    }
    IAccessible* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    Reading Read() const {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr, value = nullptr, action = nullptr;
        VARIANT role{}, state{};
        object_->get_accName(self, &name);
        object_->get_accValue(self, &value);
        object_->get_accDefaultAction(self, &action);
        object_->get_accRole(self, &role);
        object_->get_accState(self, &state);
        return {Narrow(name), Narrow(value), Narrow(action), role.lVal, state.lVal};
    }

private:
    IAccessible* object_ = nullptr;
};

class AccessibilityTest : public PagesHarness {
protected:
    AccessibilityTest() { ::CoInitialize(nullptr); }
    ~AccessibilityTest() override { ::CoUninitialize(); }
    void SetUp() override { Start(); }
    HWND LabelWindow(int id) const { return ::GetDlgItem(Window(), id); }
};

constexpr LONG kTab = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;

TEST_F(AccessibilityTest, LabelsAreTabsWhoseDefaultActionShowsTheirPage) {
    const struct { int id; const char* text; } labels[] = {
        {IDC_NAV_LINK_INFO, "Link Info"}, {IDC_NAV_CONFIGURATION, "Configuration"},
        {IDC_NAV_ENCRYPTION, "Encryption"}, {IDC_NAV_SITE_SURVEY, "Site Survey"},
        {IDC_NAV_PROFILE, "Profile"}, {IDC_NAV_ABOUT, "About"}};
    for (const auto& label : labels) {
        Accessible object(LabelWindow(label.id));
        ASSERT_TRUE(object) << label.text;
        // The window opens with the focus on its first tab stop, the label of the page in front.
        const LONG front = label.id == IDC_NAV_LINK_INFO ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : 0;
        EXPECT_EQ(object.Read(), (Reading{label.text, "", "Switch", ROLE_SYSTEM_PAGETAB, kTab | front}));
    }

    // The default action is the label's click: the page comes to the front, and the focus
    // goes to its first control.
    Accessible configuration(LabelWindow(IDC_NAV_CONFIGURATION));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    EXPECT_EQ(configuration->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(main.IsCurrentPage(PageId::Configuration));
    EXPECT_TRUE(Shown(config.Hwnd()));
    EXPECT_EQ(::GetFocus(), ItemOf(config, IDC_CFG_SSID));
    EXPECT_EQ(configuration.Read().state, kTab | STATE_SYSTEM_SELECTED);
    EXPECT_EQ(Accessible(LabelWindow(IDC_NAV_LINK_INFO)).Read().state, kTab);
}

// A modal dialog disables the window: the labels are unavailable then, and their default
// action, carried out regardless, switches no page.
TEST_F(AccessibilityTest, LabelsAreUnavailableWhileADialogDisablesTheWindow) {
    Accessible about(LabelWindow(IDC_NAV_ABOUT));
    ASSERT_TRUE(about);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    ::EnableWindow(Window(), FALSE);
    EXPECT_EQ(about.Read(), (Reading{"About", "", "", ROLE_SYSTEM_PAGETAB, STATE_SYSTEM_UNAVAILABLE}));
    EXPECT_NE(about->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(main.IsCurrentPage(PageId::LinkInfo));
    ::EnableWindow(Window(), TRUE);
    EXPECT_EQ(about->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(main.IsCurrentPage(PageId::About));
}

TEST_F(AccessibilityTest, MetersReadTheirLabelAndPercentageAndLetGoWithTheirWindow) {
    state.link.connectState = 0;
    state.link.networkType = 1;
    state.link.linkQuality = 94;
    state.link.signalStrength = 60;
    linkInfo.UpdateDisplay();
    Accessible quality(linkInfo.QualityMeter().Hwnd());
    Accessible signal(linkInfo.SignalMeter().Hwnd());
    ASSERT_TRUE(quality && signal);
    EXPECT_EQ(quality.Read(), (Reading{"Link Quality", "94 %", "", ROLE_SYSTEM_PROGRESSBAR, STATE_SYSTEM_READONLY}));
    EXPECT_EQ(signal.Read(), (Reading{"Signal Strength", "60 %", "", ROLE_SYSTEM_PROGRESSBAR, STATE_SYSTEM_READONLY}));

    // Behind another page the meter is still there, but off screen.
    main.ShowPage(PageId::About);
    EXPECT_EQ(quality.Read().state, STATE_SYSTEM_READONLY | STATE_SYSTEM_INVISIBLE);

    // A reader may hold an object longer than the window lives.
    ::DestroyWindow(Window());
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(quality->get_accName(self, &name)));
    EXPECT_EQ(name, nullptr);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Readers name a field after the label just before it: no label is followed by another
// label (or by nothing) in its template.
TEST(TemplateOrder, EveryLabelStandsJustBeforeItsField) {
    const struct { int dialog; std::vector<int> labels; } templates[] = {
        {IDD_LINK_INFO, {IDC_LI_STATUS_LABEL, IDC_LI_SSID_LABEL, IDC_LI_TX_RATE_LABEL, IDC_LI_CHANNEL_LABEL,
                         IDC_LI_QUALITY_LABEL, IDC_LI_SIGNAL_LABEL}},
        {IDD_CONFIGURATION, {IDC_CFG_SSID_LABEL, IDC_CFG_MODE_LABEL, IDC_CFG_CHANNEL_LABEL, IDC_CFG_RATE_LABEL,
                             IDC_CFG_PREAMBLE_LABEL, IDC_CFG_POWER_LABEL, IDC_CFG_REGION_LABEL}},
        {IDD_ENCRYPTION, {IDC_WEP_ENCRYPT_LABEL, IDC_WEP_AUTH_LABEL, IDC_WEP_DEFAULT_KEY_LABEL,
                          IDC_WEP_NETWORK_KEY_LABEL, IDC_WEP_KEY_FORMAT_LABEL, IDC_WEP_KEY_LENGTH_LABEL,
                          IDC_WEP_PASSPHRASE_LABEL}},
        {IDD_ABOUT, {IDC_ABOUT_UTILITY_LABEL, IDC_ABOUT_DRIVER_LABEL, IDC_ABOUT_MAC_LABEL}},
        {IDD_PROFILE_EDITOR, {IDC_ED_NAME_LABEL, IDC_ED_SSID_LABEL, IDC_ED_MODE_LABEL, IDC_ED_CHANNEL_LABEL,
                              IDC_ED_RATE_LABEL, IDC_ED_PREAMBLE_LABEL, IDC_ED_POWER_LABEL, IDC_ED_ENCRYPT_LABEL,
                              IDC_ED_AUTH_LABEL, IDC_ED_REGION_LABEL, IDC_ED_DEFAULT_KEY_LABEL,
                              IDC_ED_NETWORK_KEY_LABEL, IDC_ED_KEY_FORMAT_LABEL, IDC_ED_KEY_LENGTH_LABEL,
                              IDC_ED_PASSPHRASE_LABEL}},
    };
    HWND parent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    for (const auto& t : templates) {
        HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t.dialog), parent,
                                           &PlainDialog, 0);
        ASSERT_NE(dialog, nullptr);
        for (int label : t.labels) {
            HWND next = ::GetWindow(::GetDlgItem(dialog, label), GW_HWNDNEXT);
            char cls[16] = {};
            ::GetClassNameA(next, cls, sizeof cls);
            EXPECT_TRUE(next != nullptr && ::lstrcmpiA(cls, "Static") != 0)
                << "template " << t.dialog << ", label " << label;
        }
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(parent);
}

}  // namespace
}  // namespace hx::test
