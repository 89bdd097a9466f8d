#include "auth/win32/UtilityAuthWorker.h"

#include "adapter/AdapterLibrary.h"
#include "config/win32/RegistryAppProfile.h"
#include "auth/SupplicantLibrary.h"

namespace hx::win {

UtilityAuthWorker::UtilityAuthWorker(AdapterLibrary& adapter, SupplicantLibrary& supplicant, bool supplicantUsable,
                                     UtilityState& state, AppProfile& profile)
    : messages_(ApplicationNameFromModule(nullptr)),
      supplicantUsable_(supplicantUsable),
      worker_(adapter, supplicant, state, profile, directory_, messages_) {
    worker_.ReportJoinsTo(notice_);
}

}  // namespace hx::win
