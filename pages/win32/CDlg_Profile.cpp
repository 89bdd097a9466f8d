#include "pages/win32/CDlg_Profile.h"

#include "app/UtilityState.h"
#include "config/LastSettingStore.h"
#include "config/ValueTables.h"
#include "pages/win32/Page.h"

namespace hx::win {
namespace {

constexpr int kProfileLabels[] = {
    IDC_ED_NAME_LABEL, IDC_ED_SSID_LABEL, IDC_ED_MODE_LABEL, IDC_ED_CHANNEL_LABEL, IDC_ED_RATE_LABEL,
    IDC_ED_PREAMBLE_LABEL, IDC_ED_POWER_LABEL, IDC_ED_ENCRYPT_LABEL, IDC_ED_AUTH_LABEL, IDC_ED_REGION_LABEL,
    IDC_ED_DEFAULT_KEY_LABEL, IDC_ED_NETWORK_KEY_LABEL, IDC_ED_KEY_FORMAT_LABEL, IDC_ED_KEY_LENGTH_LABEL,
    IDC_ED_PASSPHRASE_LABEL, IDC_ED_DEFAULT_KEY_0, IDC_ED_DEFAULT_KEY_1, IDC_ED_DEFAULT_KEY_2,
    IDC_ED_DEFAULT_KEY_3, IDC_ED_PROTOCOL_LABEL, IDC_ED_CERTIFICATE_LABEL, IDC_ED_USERNAME_LABEL,
    IDC_ED_PASSWORD_LABEL};

// The 802.1X group is part of the layout only; nothing shows it.
constexpr int kDot1xGroup[] = {
    IDC_ED_PROTOCOL_LABEL, IDC_ED_CERTIFICATE_LABEL, IDC_ED_USERNAME_LABEL, IDC_ED_PASSWORD_LABEL,
    IDC_ED_USERNAME, IDC_ED_PASSWORD, IDC_ED_CERTIFICATE, IDC_ED_PROTOCOL};

constexpr int kRegion[] = {IDC_ED_REGION_LABEL, IDC_ED_REGION};
constexpr int kMaxProfileNameLength = 255;

}  // namespace

void CDlg_Profile::Connect(const PageContext& context, ProfileEditSession& session) {
    state_ = &context.state;
    profiles_ = &context.profiles;
    session_ = &session;
    security_ = std::make_unique<SecurityControls>(kSecurityIds, context.library, StoredKeysOf(context.lastSetting));
}

BOOL CDlg_Profile::OnInitDialog() {
    labels_.Attach(Hwnd(), kProfileLabels, kPageBackground);
    if (!security_) return TRUE;
    security_->Attach(Hwnd());
    FillLists();
    ShowItems(Hwnd(), kRegion, true);
    ShowItems(Hwnd(), kDot1xGroup, false);
    // The SSID reaches the adapter with at most 32 characters; the name becomes a registry
    // key, whose names hold at most 255.
    ::SendDlgItemMessageA(Hwnd(), IDC_ED_SSID, EM_LIMITTEXT, kMaxSsidLength, 0);
    ::SendDlgItemMessageA(Hwnd(), IDC_ED_NAME, EM_LIMITTEXT, kMaxProfileNameLength, 0);
    LoadWorkingCopy();
    const bool adding = session_->profileEditMode == 1;
    ::EnableWindow(Item(IDC_ED_NAME), adding ? TRUE : FALSE);
    ::SetFocus(Item(adding ? IDC_ED_NAME : IDC_ED_SSID));
    return FALSE;  // the focus is set
}

void CDlg_Profile::FillLists() {
    FillList(Hwnd(), IDC_ED_MODE, kNetworkTypeTexts);
    FillList(Hwnd(), IDC_ED_CHANNEL, ChannelListTexts(state_->supportedChannels));
    FillList(Hwnd(), IDC_ED_RATE, RateListTexts(state_->supportedRates));
    FillList(Hwnd(), IDC_ED_PREAMBLE, kPreambleTexts);
    FillList(Hwnd(), IDC_ED_POWER, kPowerSaveTexts);
    FillList(Hwnd(), IDC_ED_REGION, RegionListTexts());
    FillList(Hwnd(), IDC_ED_PROTOCOL, kDot1xMethodTexts);
}

void CDlg_Profile::LoadWorkingCopy() {
    const WlanSetting& copy = state_->editor;
    shown_ = LoadEditorPositions(copy, session_->editedProfileName, state_->supportedChannels);
    SetItemText(Hwnd(), IDC_ED_NAME, shown_.profileName);
    SetItemText(Hwnd(), IDC_ED_SSID, shown_.ssid);
    SelectPosition(Hwnd(), IDC_ED_MODE, shown_.wirelessMode);
    SelectPosition(Hwnd(), IDC_ED_CHANNEL, shown_.channel);
    SelectPosition(Hwnd(), IDC_ED_RATE, shown_.txRate);
    SelectPosition(Hwnd(), IDC_ED_PREAMBLE, shown_.preamble);
    SelectPosition(Hwnd(), IDC_ED_POWER, shown_.powerMode);
    SelectPosition(Hwnd(), IDC_ED_REGION, shown_.region);
    security_->Show(EditorSecurityDisplay(shown_), copy.WEPKeyLength, state_->keyFormat);
}

void CDlg_Profile::OnWirelessModeChange() {
    ProfileEditorPositions positions = shown_;
    positions.wirelessMode = SelectedPosition(Hwnd(), IDC_ED_MODE);
    ReselectSecurityForMode(state_->editor, positions.wirelessMode, positions);
    security_->Reselect(EditorSecurityDisplay(positions));
}

bool CDlg_Profile::OnCommand(int id, int code, HWND) {
    if (!security_) return false;
    if (id == IDC_ED_MODE && code == CBN_SELCHANGE) {
        OnWirelessModeChange();
        return true;
    }
    if (security_->OnCommand(id, code)) return true;
    if (code != BN_CLICKED) return false;
    if (id == IDC_ED_OK) {
        Accept();
        return true;
    }
    if (id == IDC_ED_CANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

ProfileEditorPositions CDlg_Profile::PositionsFromControls() {
    ProfileEditorPositions positions;
    positions.profileName = ItemText(Hwnd(), IDC_ED_NAME);
    positions.ssid = ItemText(Hwnd(), IDC_ED_SSID);
    positions.wirelessMode = SelectedPosition(Hwnd(), IDC_ED_MODE);
    positions.channel = SelectedPosition(Hwnd(), IDC_ED_CHANNEL);
    positions.txRate = SelectedPosition(Hwnd(), IDC_ED_RATE);
    positions.preamble = SelectedPosition(Hwnd(), IDC_ED_PREAMBLE);
    positions.powerMode = SelectedPosition(Hwnd(), IDC_ED_POWER);
    positions.region = SelectedPosition(Hwnd(), IDC_ED_REGION);
    return positions;
}

void CDlg_Profile::Accept() {
    if (!security_) {
        EndDialog(IDCANCEL);
        return;
    }
    ProfileEditorPositions positions = PositionsFromControls();
    if (const char* problem = ProfileNameProblem(*session_, positions.profileName, *profiles_)) {
        ShowMessage(Hwnd(), problem);
        FocusWithTextSelected(Hwnd(), IDC_ED_NAME);
        return;
    }
    const SecurityChoice choice = security_->Choice();
    positions.encryption = choice.encryption;
    positions.authentication = choice.authentication;
    positions.defaultKey = choice.defaultKey;
    positions.passphrase = choice.passphrase;
    StoreEditorPositions(positions, choice.keys, choice.keyLengthBits, state_->supportedRates,
                         state_->supportedChannels, state_->editor, session_->editedProfileName);
    EndDialog(IDOK);
}

INT_PTR CDlg_Profile::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if (message != WM_ERASEBKGND) return 0;
    PaintPageBackground(Hwnd(), reinterpret_cast<HDC>(wParam));
    handled = true;
    return TRUE;
}

}  // namespace hx::win
