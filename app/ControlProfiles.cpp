// The profile verbs: the Profile page's Load and Remove, and "Add Current" with the
// editor's OK, through the page's own model (profile-put: with the editor's boxes filled
// in from a fresh setting and the request's values).
#include <charconv>
#include <mutex>
#include <optional>

#include "app/ControlService.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "config/SettingFields.h"
#include "pages/ProfileEditorModel.h"
#include "pages/ProfilePageModel.h"

namespace hx {
namespace {

// The editor's name box takes no more: the longest registry key name.
constexpr size_t kMaxProfileNameLength = 255;

std::string NoSuchProfile(const std::string& name) { return "no such profile: " + name; }

ControlRecord StoredValues(const std::string& name, const WlanSetting& setting, bool withKeys) {
    ControlRecord record;
    record.Set("name", name);
    for (const SettingField& field : kSettingFields) {
        if (field.integer != nullptr) {
            record.Set(field.name, setting.*field.integer);
        } else if (field.text != nullptr) {
            if (withKeys || !SecretField(field.name)) record.Set(field.name, setting.*field.text);
        } else if (withKeys) {
            for (int i = 0; i < 4; ++i)
                record.Set(WepKeyValueName(setting.WEPKeyLength, i), setting.WEPKey[static_cast<size_t>(i)]);
        }
    }
    return record;
}

std::optional<int> Integer(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The request's stored values over the setting; the first name or value refused, or empty.
std::string PutValues(const ControlRecord& request, WlanSetting& setting) {
    // The key length first: it names the key values.
    if (const std::string* bits = request.Find("WEPKeyLength")) {
        const std::optional<int> value = Integer(*bits);
        if (!value || KnownKeyLength(*value) != *value) return "WEPKeyLength";
        setting.WEPKeyLength = *value;
    }
    for (const auto& [name, value] : request.fields) {
        if (name == "verb" || name == "name" || name == "WEPKeyLength") continue;
        bool known = false;
        for (const SettingField& field : kSettingFields) {
            if (field.integer != nullptr && name == field.name) {
                const std::optional<int> number = Integer(value);
                if (!number || field.settle(*number) != *number) return name;
                setting.*field.integer = *number;
                known = true;
            } else if (field.text != nullptr && name == field.name) {
                if (value.size() > field.limit) return name;
                setting.*field.text = value;
                known = true;
            } else if (field.text == nullptr && field.integer == nullptr) {
                for (int i = 0; i < 4 && !known; ++i) {
                    if (name != WepKeyValueName(setting.WEPKeyLength, i)) continue;
                    if (value.size() > field.limit) return name;
                    setting.WEPKey[static_cast<size_t>(i)] = value;
                    known = true;
                }
            }
            if (known) break;
        }
        if (!known) return name;
    }
    return {};
}

}  // namespace

std::vector<ControlRecord> ProfileRequest(ControlContext& c, const std::string& verb, const ControlRecord& r) {
    const bool put = verb == "profile-put";
    if (!put) {
        const bool named = verb != "profile-list";
        const std::string* field = verb == "profile-get" ? UnknownField(r, {"name", "keys"})
                                   : named               ? UnknownField(r, {"name"})
                                                         : UnknownField(r, {});
        if (field) return Refused(ExitStatus::Usage, "unknown field " + *field);
        if (named && !r.Find("name")) return Refused(ExitStatus::Usage, "the request needs name=");
    }
    const std::string name = r.Get("name");
    ProfilePageModel model(c.state, c.profiles, c.lastSetting, c.applier);

    if (verb == "profile-list") {
        std::vector<ControlRecord> reply{OkStatus()};
        for (const std::string& listed : model.Names()) reply.push_back(ControlRecord{}.Set("name", listed));
        return reply;
    }
    if (verb == "profile-get") {
        const std::string keys = r.Get("keys", "none");
        if (keys != "clear" && keys != "none") return Refused(ExitStatus::Usage, "keys must be clear or none");
        if (!c.profiles.ProfileExists(name)) return Refused(ExitStatus::NoSuchThing, NoSuchProfile(name));
        WlanSetting stored;
        c.profiles.LoadProfile(name, stored);
        return {OkStatus(), StoredValues(name, stored, keys == "clear")};
    }
    if (verb != "profile-load" && verb != "profile-delete" && verb != "profile-save" && !put)
        return Refused(ExitStatus::Usage, "unknown verb " + verb);
    if (const std::string why = WindowsUnavailable(c.state); !why.empty())
        return Refused(verb == "profile-load" ? ExitStatus::ConnectFailed : ExitStatus::Unknown, why);

    if (verb == "profile-load" || verb == "profile-delete") {
        if (!c.profiles.ProfileExists(name)) return Refused(ExitStatus::NoSuchThing, NoSuchProfile(name));
        if (verb == "profile-delete") {
            model.Remove(name);
            c.window.RefreshProfileList();
            return {OkStatus()};
        }
        model.Load(name);
        c.shell.ShowPage(PageId::LinkInfo);
        return AppliedOrOwed(c.state);
    }

    // profile-save and profile-put: "Add Current", the name typed into the editor, OK.
    model.Session().profileEditMode = 1;
    if (name.size() > kMaxProfileNameLength) return Refused(ExitStatus::Usage, "Profile name is longer than 255 characters");
    if (const char* problem = ProfileNameProblem(model.Session(), name, c.profiles))
        return Refused(ExitStatus::Usage, problem);
    // A saved profile is the setting in force; an imported one holds what its file gave
    // over a fresh setting, never the keys and credentials of the network joined now.
    WlanSetting edited;
    if (put) {
        edited = FreshSetting();
    } else {
        std::lock_guard lock(c.state.currentSettingMutex);
        edited = c.state.current;
    }
    if (put) {
        if (const std::string refused = PutValues(r, edited); !refused.empty())
            return Refused(ExitStatus::Usage, "unknown field or value out of range: " + refused);
    }
    // The editor's working copy, as the page's own run of the editor uses it; given back
    // afterwards, since the user may have the editor open meanwhile.
    const WlanSetting userCopy = c.state.editor;
    model.BeginAdd();
    c.state.editor = edited;
    model.Session().editedProfileName = name;
    model.FinishAdd();
    c.state.editor = userCopy;
    c.window.RefreshProfileList();
    return {OkStatus()};
}

}  // namespace hx
