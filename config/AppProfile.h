// The seam to the per-user application profile: typed values in named sections. A section
// is a path of sub-keys below the application key ("LastSetting\", "Profile\Home"); the
// empty section is the application key itself. Key and value names are matched without
// regard to letter case, as the registry does.
#pragma once

#include <string>
#include <string_view>

namespace hx {

class AppProfile {
public:
    virtual ~AppProfile() = default;

    // A value that is missing or of the other type reads as the default.
    virtual int ReadInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
    virtual std::string ReadString(std::string_view section, std::string_view entry,
                                   std::string_view defaultValue) = 0;
    // True when the store accepted the value.
    virtual bool WriteInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual bool WriteString(std::string_view section, std::string_view entry,
                             std::string_view value) = 0;
    // True when the value existed and was removed.
    virtual bool DeleteValue(std::string_view section, std::string_view entry) = 0;
};

// The sections of a path: "LastSetting\" and "a\\b\" become {"LastSetting"} and {"a", "b"};
// empty parts are dropped.
std::string NormaliseSection(std::string_view section);

}  // namespace hx
