#include "pages/win32/CPage_Wep.h"

#include "config/LastSettingStore.h"
#include "config/ValueTables.h"

namespace hx::win {
namespace {

constexpr int kWepLabels[] = {
    IDC_WEP_ENCRYPT_LABEL, IDC_WEP_AUTH_LABEL, IDC_WEP_DEFAULT_KEY_LABEL, IDC_WEP_NETWORK_KEY_LABEL,
    IDC_WEP_KEY_FORMAT_LABEL, IDC_WEP_KEY_LENGTH_LABEL, IDC_WEP_PASSPHRASE_LABEL,
    IDC_WEP_DEFAULT_KEY_0, IDC_WEP_DEFAULT_KEY_1, IDC_WEP_DEFAULT_KEY_2, IDC_WEP_DEFAULT_KEY_3,
    IDC_WEP_PROTOCOL_LABEL, IDC_WEP_CERTIFICATE_LABEL, IDC_WEP_USERNAME_LABEL, IDC_WEP_PASSWORD_LABEL};

// The 802.1X group is part of the layout only; nothing shows it.
constexpr int kDot1xGroup[] = {
    IDC_WEP_PROTOCOL_LABEL, IDC_WEP_CERTIFICATE_LABEL, IDC_WEP_USERNAME_LABEL, IDC_WEP_PASSWORD_LABEL,
    IDC_WEP_USERNAME, IDC_WEP_PASSWORD, IDC_WEP_CERTIFICATE, IDC_WEP_PROTOCOL};

}  // namespace

BOOL CPage_Wep::OnInitDialog() {
    labels_.Attach(Hwnd(), kWepLabels, kPageBackground);
    if (const PageContext* context = Context()) {
        model_ = std::make_unique<EncryptionPageModel>(context->state, context->lastSetting, context->applier);
        security_ = std::make_unique<SecurityControls>(kSecurityIds, context->library,
                                                       StoredKeysOf(context->lastSetting));
        security_->Attach(Hwnd());
    }
    FillList(Hwnd(), IDC_WEP_PROTOCOL, kDot1xMethodTexts);
    ShowItems(Hwnd(), kDot1xGroup, false);
    return TRUE;
}

void CPage_Wep::Load() {
    if (!model_ || Hwnd() == nullptr) return;
    const EncryptionPageContent content = model_->Load();
    security_->Show(content.security, content.keyLengthBits, content.keyFormat);
}

bool CPage_Wep::OnCommand(int id, int code, HWND) {
    if (!security_) return false;
    if (security_->OnCommand(id, code)) return true;
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_WEP_APPLY:
        Apply();
        return true;
    case IDC_WEP_CANCEL:
        Load();
        return true;
    default:
        return false;
    }
}

void CPage_Wep::Apply() {
    const SecurityChoice choice = security_->Choice();
    if (model_->Apply(choice, security_->KeyFormat()) == EncryptionApplyResult::PassphraseLengthRefused) {
        ShowMessage(::GetAncestor(Hwnd(), GA_ROOT), kPassphraseLengthMessage);
        ::SetFocus(Item(IDC_WEP_PASSPHRASE));
        return;
    }
    if (Shell()) Shell()->ShowPage(PageId::LinkInfo);
}

}  // namespace hx::win
