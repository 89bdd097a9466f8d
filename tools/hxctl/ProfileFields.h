// A profile as profile-get and profile-put carry it (fields named after the stored values:
// SSID, NetworkType, ..., the keys under their stored names such as WEPKey128_0), turned
// into the setting the WLAN profile XML is written from, and an imported profile back into
// those fields.
#pragma once

#include "app/ControlRecord.h"
#include "config/WlanProfileXml.h"
#include "config/WlanSetting.h"

namespace hx::ctl {

// Fields the record lacks keep a fresh setting's values; a number that does not read as
// one counts as missing. Names are matched without regard to case, '-' standing for '_'.
WlanSetting SettingFromProfileFields(const ControlRecord& fields);

// The fields of an accepted import, for profile-put.
ControlRecord ProfilePutFields(const ImportedWlanProfile& profile);

}  // namespace hx::ctl
