// The WEP key block shared by the Encryption page and the profile editor: four key boxes,
// the key length and key format lists. Keys are held as bytes; a box shows either the
// key (once the user has entered it) or a mask, and an unentered key always comes from
// the last-setting store for the selected length.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace hx {

class AdapterLibrary;

inline constexpr const char* kHexKeyCharacters = "abcdefABCDEF0123456789";
constexpr int kMaxKeyBytes = 29;

// The dialog side of the block: the four boxes (in key order) and the two lists.
class WepKeyView {
public:
    virtual ~WepKeyView() = default;
    virtual std::string KeyBoxText(int index) = 0;
    virtual void SetKeyBoxText(int index, const std::string& text) = 0;
    // The box's allowed characters (empty: any) and typing limit.
    virtual void SetKeyBoxInput(int index, const std::string& allowed, int limit) = 0;
    // Empties a box the user is about to type into: select all, scroll the caret into
    // view, clear the selection.
    virtual void ClearKeyBoxForEntry(int index) = 0;
    virtual int KeyLengthPosition() = 0;   // -1 when nothing is chosen
    virtual void SelectKeyLengthPosition(int position) = 0;
    virtual int KeyFormatPosition() = 0;
    virtual void SelectKeyFormatPosition(int position) = 0;
};

class WepKeyEntry {
public:
    // storedKey(index, bits): the last-setting store's key text for that index and length
    // (or the store's default key text).
    using StoredKeySource = std::function<std::string(int index, int bits)>;

    WepKeyEntry(WepKeyView& view, AdapterLibrary& library, StoredKeySource storedKey);

    // Loading a setting into the block: length from WEPKeyLength, format from the
    // application's key format, all keys masked and taken from the store.
    void Load(int wepKeyLengthBits, int keyFormat);

    void ShowKey(int index);
    void CaptureKey(int index);
    void SetKeyFormat();
    void SetKeyLength();
    void OnKeyBoxFocus(int index);
    void ResetEntered();
    // The key as it goes into a setting: hex text of the key's bytes.
    std::string KeyRecordText(int index);

    int KeyLengthBytes() const { return keyLength_; }
    int KeyLengthBits() const { return 8 * keyLength_ + 24; }
    int KeyFormat() const { return keyFormat_; }
    bool Entered(int index) const { return entered_[static_cast<size_t>(index)]; }
    const std::array<uint8_t, kMaxKeyBytes>& Slot(int index) const { return slots_[static_cast<size_t>(index)]; }

private:
    void ApplyInputRules(int index);

    WepKeyView& view_;
    AdapterLibrary& library_;
    StoredKeySource storedKey_;
    int keyLength_ = 5;
    int keyFormat_ = 0;
    std::array<bool, 4> entered_{};
    std::array<std::array<uint8_t, kMaxKeyBytes>, 4> slots_{};
};

// The WPA-PSK pass phrase rule: 8 to 63 characters.
inline constexpr const char* kPassphraseLengthMessage = "Length of Passphase must between 8 to 63";
bool PassphraseLengthValid(const std::string& passphrase);

}  // namespace hx
