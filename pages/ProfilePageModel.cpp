#include "pages/ProfilePageModel.h"

#include <mutex>

#include "pages/ProfileEditorModel.h"

namespace hx {

void ProfilePageModel::BeginAdd() {
    session_.editedProfileName.clear();
    {
        // A running worker may write Dot1xWPAIEs meanwhile.
        std::lock_guard lock(state_.currentSettingMutex);
        state_.editor = state_.current;
    }
    session_.profileEditMode = 1;
}

void ProfilePageModel::FinishAdd() {
    store_.LinkProfile(session_.editedProfileName);
    store_.SaveProfile(session_.editedProfileName, state_.editor);
}

void ProfilePageModel::BeginModify(const std::string& name) {
    session_.profileEditMode = 0;
    session_.editedProfileName = name;
    store_.LoadProfile(name, state_.editor);
}

void ProfilePageModel::FinishModify() { store_.SaveProfile(session_.editedProfileName, state_.editor); }

void ProfilePageModel::Load(const std::string& name) {
    session_.profileEditMode = 0;
    {
        std::lock_guard lock(state_.currentSettingMutex);
        store_.LoadProfile(name, state_.current);
    }
    if (AuthMode::PreSharedKey(state_.current.AuthenticationMode))
        lastSetting_.WriteLastSettingString("Dot1xPassphrase", state_.current.Dot1xPassphrase);
    applier_.ApplySetting();
}

void ProfilePageModel::Remove(const std::string& name) { store_.UnlinkProfile(name); }

const char* ProfileNameProblem(const ProfileEditSession& session, const std::string& typedName,
                               ProfileStore& store) {
    if (session.profileEditMode != 1) return nullptr;
    if (typedName.empty()) return kProfileNameEmptyMessage;
    if (store.ProfileNameTaken(typedName)) return kProfileNameUsedMessage;
    return nullptr;
}

}  // namespace hx
