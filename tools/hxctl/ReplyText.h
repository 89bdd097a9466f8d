// The texts hxctl prints for the utility's replies: for people by default, and for scripts
// (-t) as "key: value" lines and tab-separated rows.
#pragma once

#include <string>
#include <vector>

#include "app/ControlRecord.h"

namespace hx::ctl {

// The status record.
std::string StatusText(const ControlRecord& status, bool terse);
// The survey reply's records after its first (one per network).
std::string SurveyText(const std::vector<ControlRecord>& networks, bool terse);
// profile-list's records.
std::string ProfileListText(const std::vector<ControlRecord>& profiles);

}  // namespace hx::ctl
