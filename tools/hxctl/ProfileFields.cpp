#include "tools/hxctl/ProfileFields.h"

#include "config/LastSettingStore.h"
#include "config/SettingFields.h"
#include "tools/hxctl/ConnectWatch.h"

namespace hx::ctl {
namespace {

// A name as the stored value's, read without regard to case and with '-' for '_', so that
// "WEPKey64_0" and "wepkey64-0" are one name.
std::string Folded(std::string_view name) {
    std::string folded;
    for (char c : name) folded += c == '_' ? '-' : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return folded;
}

ControlRecord FoldedNames(const ControlRecord& fields) {
    ControlRecord folded;
    for (const auto& [name, value] : fields.fields) folded.fields.emplace_back(Folded(name), value);
    return folded;
}

}  // namespace

WlanSetting SettingFromProfileFields(const ControlRecord& given) {
    const ControlRecord fields = FoldedNames(given);
    WlanSetting setting;
    for (const SettingField& field : kSettingFields) {
        if (field.integer != nullptr) {
            setting.*field.integer = static_cast<int>(NumberField(fields, Folded(field.name).c_str(), setting.*field.integer));
        } else if (field.text != nullptr) {
            if (const std::string* text = fields.Find(Folded(field.name))) setting.*field.text = *text;
        }
    }
    // The keys of the profile's own key length.
    for (int index = 0; index < 4; ++index)
        if (const std::string* key = fields.Find(Folded(WepKeyValueName(setting.WEPKeyLength, index))))
            setting.WEPKey[static_cast<size_t>(index)] = *key;
    return setting;
}

ControlRecord ProfilePutFields(const ImportedWlanProfile& profile) {
    ControlRecord fields;
    for (const auto& [name, value] : MappedFieldValues(profile)) fields.fields.emplace_back(name, value);
    return fields;
}

}  // namespace hx::ctl
