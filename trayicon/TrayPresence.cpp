#include "trayicon/TrayPresence.h"

namespace hx {

bool TrayPresence::Show(const Send& send) {
    shown_ = true;
    const TrayRequest first = present_ ? TrayRequest::Modify : TrayRequest::Add;
    const TrayRequest second = present_ ? TrayRequest::Add : TrayRequest::Modify;
    present_ = send(first) || send(second);
    return present_;
}

bool TrayPresence::ShellRestarted() {
    present_ = false;
    return shown_;
}

void TrayPresence::Remove(const Send& send) {
    if (!shown_) return;
    send(TrayRequest::Delete);
    shown_ = false;
    present_ = false;
}

}  // namespace hx
