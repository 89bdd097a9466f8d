// The profile editor's controls as positions, loaded from and written into the editor's
// working copy of a setting.
#pragma once

#include <string>

#include "config/WlanSetting.h"
#include "pages/SecurityPositions.h"

namespace hx {

struct ProfileEditorPositions {
    std::string profileName;
    std::string ssid;
    int wirelessMode = -1;
    int channel = -1;        // list position, -1 none
    int txRate = 0;
    int preamble = -1;
    int powerMode = -1;
    int region = 0;
    int encryption = -1;
    int authentication = -1;
    int defaultKey = -1;
    std::string passphrase;
};

// The channel list is chosen by position (channel 6 is the sixth entry, whatever it holds),
// the rate list always shows "Auto".
ProfileEditorPositions LoadEditorPositions(const WlanSetting& copy, const std::string& profileName,
                                           const SupportedChannels& channels);

// A new wireless mode: the security entries are chosen again from the working copy's codes.
void ReselectSecurityForMode(const WlanSetting& copy, int wirelessMode, ProfileEditorPositions& positions);

// The security part as the editor shows it: the lists of the selected wireless mode (the
// WPA entries only with "Infrastructure") and the entries, default key and pass phrase
// of the positions.
SecurityDisplay EditorSecurityDisplay(const ProfileEditorPositions& positions);

// OK: the controls into the working copy. Fields the editor does not show keep their values.
void StoreEditorPositions(const ProfileEditorPositions& positions,
                          const std::array<std::string, 4>& keys, int keyLengthBits,
                          const SupportedRates& rates, const SupportedChannels& channels,
                          WlanSetting& copy, std::string& editedProfileName);

inline constexpr const char* kProfileNameEmptyMessage = "Profile name is empty";
inline constexpr const char* kProfileNameUsedMessage = "Profile name has been used\n Please change a new one";

}  // namespace hx
