// The Profile page without its window: the list of profile names, and adding, modifying,
// loading and removing profiles through the profile editor's working copy.
#pragma once

#include <string>
#include <vector>

#include "app/UtilityState.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "config/SettingApplier.h"

namespace hx {

// What the page and the profile editor share for one run of the editor.
struct ProfileEditSession {
    std::string editedProfileName;  // the name the editor shows; the typed name after OK
    int profileEditMode = 0;        // 1 while adding: the name can be typed and is checked
};

class ProfilePageModel {
public:
    ProfilePageModel(UtilityState& state, ProfileStore& store, LastSettingStore& lastSetting, SettingApplier& applier)
        : state_(state), store_(store), lastSetting_(lastSetting), applier_(applier) {}

    ProfileEditSession& Session() { return session_; }

    // The listed names in chain order (the list box sorts them itself).
    std::vector<std::string> Names() { return store_.ListProfileNames(); }

    // Add Current: the working copy becomes the current setting, with no name yet; after
    // the editor's OK the typed name is appended to the list and the copy stored under it.
    void BeginAdd();
    void FinishAdd();
    // Modify: the working copy is loaded from the profile; after OK it is stored again
    // under the same name.
    void BeginModify(const std::string& name);
    void FinishModify();
    // Load: the profile becomes the current setting and is applied (the adapter's answer is
    // not examined). A pre-shared key profile's pass phrase first becomes the last setting's,
    // as on the Encryption page's Apply: otherwise the next start would join the profile's
    // network with the pass phrase typed last, for another network.
    void Load(const std::string& name);
    // Remove: the name leaves the list; its values stay in the store.
    void Remove(const std::string& name);

private:
    UtilityState& state_;
    ProfileStore& store_;
    LastSettingStore& lastSetting_;
    SettingApplier& applier_;
    ProfileEditSession session_;
};

// The editor's check of a typed name when it is adding: the message to show, or null when
// the name may be used. A name that differs from a listed one only in letter case is
// taken too, since it would name the same registry key.
const char* ProfileNameProblem(const ProfileEditSession& session, const std::string& typedName,
                               ProfileStore& store);

}  // namespace hx
