// The Encryption page without its window: what it shows of the current setting, and Apply.
#pragma once

#include "app/UtilityState.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "pages/SecurityPositions.h"

namespace hx {

// What the page loads from the current setting.
struct EncryptionPageContent {
    SecurityDisplay security;
    int keyLengthBits = 64;   // the setting's WEPKeyLength, for the key block
    int keyFormat = 0;        // the application's key format
};

enum class EncryptionApplyResult {
    Applied,
    PassphraseLengthRefused,  // WPA-PSK with a pass phrase outside 8 to 63: nothing changed
};

class EncryptionPageModel {
public:
    EncryptionPageModel(UtilityState& state, LastSettingStore& store, SettingApplier& applier)
        : state_(state), store_(store), applier_(applier) {}

    EncryptionPageContent Load() const;

    // Writes the choice into the current setting (only the security fields), stores the
    // pass phrase with WPA-PSK and the key format, and applies the whole setting. The
    // adapter's answer is not examined: the page moves on to Link Info either way.
    EncryptionApplyResult Apply(const SecurityChoice& choice, int keyFormat);

private:
    UtilityState& state_;
    LastSettingStore& store_;
    SettingApplier& applier_;
};

}  // namespace hx
