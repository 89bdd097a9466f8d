#include "pages/EncryptionPageModel.h"

#include "pages/WepKeyEntry.h"

namespace hx {

EncryptionPageContent EncryptionPageModel::Load() const {
    const WlanSetting& current = state_.current;
    EncryptionPageContent content;
    content.security = SecurityDisplayOf(current, current.NetworkType == NetworkType::Infrastructure);
    content.keyLengthBits = current.WEPKeyLength;
    content.keyFormat = state_.keyFormat;
    return content;
}

EncryptionApplyResult EncryptionPageModel::Apply(const SecurityChoice& choice, int keyFormat) {
    const bool preShared = PassphrasePosition(choice.authentication);
    if (preShared && !PassphraseLengthValid(choice.passphrase))
        return EncryptionApplyResult::PassphraseLengthRefused;

    WriteSecurityChoice(choice, state_.current);
    if (preShared) store_.WriteLastSettingString("Dot1xPassphrase", choice.passphrase);
    state_.keyFormat = keyFormat;
    store_.Profile().WriteInt("", kKeyFormatValue, keyFormat);
    applier_.ApplySetting();
    return EncryptionApplyResult::Applied;
}

}  // namespace hx
