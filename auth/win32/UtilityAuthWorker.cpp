#include "auth/win32/UtilityAuthWorker.h"

#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"
#include "config/win32/RegistryAppProfile.h"
#include "auth/SupplicantLibrary.h"

namespace hx::win {

UtilityAuthWorker::UtilityAuthWorker(AdapterLibrary& adapter, SupplicantLibrary& supplicant, UtilityState& state,
                                     AppProfile& profile)
    : messages_(ApplicationNameFromModule(nullptr)),
      state_(state),
      worker_(adapter, supplicant, state, profile, directory_, messages_) {
    worker_.ReportJoinsTo(notice_);
}

void UtilityAuthWorker::StartWorker() {
    if (state_.libraries.supplicant.kind != LibraryKind::Unusable) worker_.StartWorker();
}

}  // namespace hx::win
