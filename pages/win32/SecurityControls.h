// The security part shared by the Encryption page and the profile editor: the encryption
// and authentication lists, the default-key buttons, the four WEP key boxes with their
// length and format lists (the key block), and the WPA-PSK pass phrase. Each dialog gives
// its own control ids; what the controls do is the same in both.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "config/LastSettingStore.h"
#include "controls/win32/FilteredEdit.h"
#include "pages/SecurityPositions.h"
#include "pages/WepKeyEntry.h"

namespace hx::win {

struct SecurityControlIds {
    int encryptionList;
    int authenticationList;
    std::array<int, 4> defaultKeyButtons;
    std::array<int, 4> keyBoxes;             // in key order
    int keyLengthList;
    int keyFormatList;
    std::array<int, 4> keyLabels;            // "Default Key", "Network Key", "Key Format", "Key Length"
    int passphraseLabel;
    int passphraseBox;
};

// The key block's source of unentered keys: the last-setting store.
WepKeyEntry::StoredKeySource StoredKeysOf(LastSettingStore& store);

class SecurityControls : private WepKeyView {
public:
    SecurityControls(const SecurityControlIds& ids, AdapterLibrary& library,
                     WepKeyEntry::StoredKeySource storedKey);

    // Binds the key boxes and fills the fixed lists (key format and length).
    void Attach(HWND dialog);

    // Shows a setting: the lists and their entries, the default key, the pass phrase, and
    // every key masked, taken from the store for the setting's key length.
    void Show(const SecurityDisplay& display, int keyLengthBits, int keyFormat);
    // A new network type: the lists refilled and their entries chosen again.
    void Reselect(const SecurityDisplay& display);

    // Selection changes and key box focus; true when the command was one of these.
    bool OnCommand(int id, int code);

    // What the user chose, with the key record texts of the four keys.
    SecurityChoice Choice();
    int KeyFormat() const { return keys_.KeyFormat(); }

    // Enables the key controls with "WEP" and the pass phrase with "WPA-PSK", then shows
    // the keys again.
    void UpdateEnabledStates();

    WepKeyEntry& Keys() { return keys_; }

private:
    // WepKeyView
    std::string KeyBoxText(int index) override;
    void SetKeyBoxText(int index, const std::string& text) override;
    void SetKeyBoxInput(int index, const std::string& allowed, int limit) override;
    void ClearKeyBoxForEntry(int index) override;
    int KeyLengthPosition() override;
    void SelectKeyLengthPosition(int position) override;
    int KeyFormatPosition() override;
    void SelectKeyFormatPosition(int position) override;

    void ShowLists(const SecurityDisplay& display);
    int KeyIndexOfBox(int id) const;

    SecurityControlIds ids_;
    HWND dialog_ = nullptr;
    std::array<FilteredEdit, 4> keyBoxes_;
    WepKeyEntry keys_;
};

}  // namespace hx::win
