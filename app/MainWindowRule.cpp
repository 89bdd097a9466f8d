#include "app/MainWindowRule.h"

namespace hx {

OpenAction ActionForOpen(const UtilityState& state) {
    if (state.adapterReady == 0) return OpenAction::Nothing;
    if (state.wzcState == Wzc::ServiceControl) return OpenAction::ExplainZeroConfiguration;
    return OpenAction::Show;
}

SystemCommandAction ActionForSystemCommand(uintptr_t command, intptr_t cursor) {
    const uintptr_t code = command & SystemCommand::CodeMask;
    if (code != SystemCommand::Minimise && code != SystemCommand::Close) return SystemCommandAction::Default;
    return cursor != 0 ? SystemCommandAction::Hide : SystemCommandAction::BringForward;
}

}  // namespace hx
