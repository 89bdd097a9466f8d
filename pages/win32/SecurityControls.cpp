#include "pages/win32/SecurityControls.h"

#include "config/ValueTables.h"
#include "pages/win32/DialogItems.h"

namespace hx::win {

WepKeyEntry::StoredKeySource StoredKeysOf(LastSettingStore& store) {
    return [&store](int index, int bits) { return store.LoadLastWepKey(index, bits); };
}

SecurityControls::SecurityControls(const SecurityControlIds& ids, AdapterLibrary& library,
                                   WepKeyEntry::StoredKeySource storedKey)
    : ids_(ids), keys_(*this, library, std::move(storedKey)) {}

void SecurityControls::Attach(HWND dialog) {
    dialog_ = dialog;
    for (size_t i = 0; i < keyBoxes_.size(); ++i) keyBoxes_[i].Attach(dialog, ids_.keyBoxes[i]);
    FillList(dialog_, ids_.keyFormatList, kKeyFormatTexts);
    FillList(dialog_, ids_.keyLengthList, kKeyLengthTexts);
}

void SecurityControls::ShowLists(const SecurityDisplay& display) {
    FillList(dialog_, ids_.encryptionList, display.encryptionTexts);
    FillList(dialog_, ids_.authenticationList, display.authenticationTexts);
    SelectPosition(dialog_, ids_.encryptionList, display.encryption);
    SelectPosition(dialog_, ids_.authenticationList, display.authentication);
}

void SecurityControls::Show(const SecurityDisplay& display, int keyLengthBits, int keyFormat) {
    ShowLists(display);
    SetItemText(dialog_, ids_.passphraseBox, display.passphrase);
    CheckOnlyButton(dialog_, ids_.defaultKeyButtons, display.defaultKey);
    keys_.Load(keyLengthBits, keyFormat);
    UpdateEnabledStates();
}

void SecurityControls::Reselect(const SecurityDisplay& display) {
    ShowLists(display);
    keys_.SetKeyFormat();
    UpdateEnabledStates();
}

void SecurityControls::UpdateEnabledStates() {
    const SecurityEnables enables = SecurityEnablesFor(SelectedPosition(dialog_, ids_.encryptionList),
                                                       SelectedPosition(dialog_, ids_.authenticationList));
    EnableItems(dialog_, ids_.keyLabels, enables.keyControls);
    EnableItems(dialog_, ids_.defaultKeyButtons, enables.keyControls);
    EnableItems(dialog_, ids_.keyBoxes, enables.keyControls);
    const int keyLists[] = {ids_.keyFormatList, ids_.keyLengthList};
    EnableItems(dialog_, keyLists, enables.keyControls);
    const int passphrase[] = {ids_.passphraseLabel, ids_.passphraseBox};
    EnableItems(dialog_, passphrase, enables.passphrase);
    keys_.SetKeyFormat();
}

int SecurityControls::KeyIndexOfBox(int id) const {
    for (size_t i = 0; i < ids_.keyBoxes.size(); ++i)
        if (ids_.keyBoxes[i] == id) return static_cast<int>(i);
    return -1;
}

bool SecurityControls::OnCommand(int id, int code) {
    if (code == CBN_SELCHANGE) {
        if (id == ids_.encryptionList || id == ids_.authenticationList) {
            UpdateEnabledStates();
            return true;
        }
        if (id == ids_.keyFormatList) {
            keys_.SetKeyFormat();
            return true;
        }
        if (id == ids_.keyLengthList) {
            keys_.SetKeyLength();
            return true;
        }
        return false;
    }
    if (code == EN_SETFOCUS) {
        const int index = KeyIndexOfBox(id);
        if (index < 0) return false;
        keys_.OnKeyBoxFocus(index);
        return true;
    }
    return false;
}

SecurityChoice SecurityControls::Choice() {
    SecurityChoice choice;
    choice.encryption = SelectedPosition(dialog_, ids_.encryptionList);
    choice.authentication = SelectedPosition(dialog_, ids_.authenticationList);
    choice.defaultKey = FirstCheckedButton(dialog_, ids_.defaultKeyButtons);
    choice.passphrase = ItemText(dialog_, ids_.passphraseBox);
    for (int i = 0; i < 4; ++i) choice.keys[static_cast<size_t>(i)] = keys_.KeyRecordText(i);
    choice.keyLengthBits = keys_.KeyLengthBits();
    return choice;
}

std::string SecurityControls::KeyBoxText(int index) {
    return ItemText(dialog_, ids_.keyBoxes[static_cast<size_t>(index)]);
}

void SecurityControls::SetKeyBoxText(int index, const std::string& text) {
    SetItemText(dialog_, ids_.keyBoxes[static_cast<size_t>(index)], text);
}

void SecurityControls::SetKeyBoxInput(int index, const std::string& allowed, int limit) {
    FilteredEdit& box = keyBoxes_[static_cast<size_t>(index)];
    box.SetAllowedCharacters(allowed);
    ::SendMessageA(box.Hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

void SecurityControls::ClearKeyBoxForEntry(int index) {
    HWND box = keyBoxes_[static_cast<size_t>(index)].Hwnd();
    ::SendMessageA(box, EM_SETSEL, 0, 0xFFFF);
    ::SendMessageA(box, EM_SCROLLCARET, 0, 0);
    ::SendMessageA(box, WM_CLEAR, 0, 0);
}

int SecurityControls::KeyLengthPosition() { return SelectedPosition(dialog_, ids_.keyLengthList); }
void SecurityControls::SelectKeyLengthPosition(int position) {
    SelectPosition(dialog_, ids_.keyLengthList, position);
}
int SecurityControls::KeyFormatPosition() { return SelectedPosition(dialog_, ids_.keyFormatList); }
void SecurityControls::SelectKeyFormatPosition(int position) {
    SelectPosition(dialog_, ids_.keyFormatList, position);
}

}  // namespace hx::win
