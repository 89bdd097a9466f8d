// A security descriptor owned by the user of the process token, whose access list allows
// that user alone (everyone else, administrators and the system included, is refused).
// Used for the named pipes the process serves.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace hx::win {

// The TOKEN_USER of the process's token (the user's SID follows it); empty when the token
// cannot be opened or read.
std::vector<BYTE> TokenUserOf(HANDLE process);

class UserOnlySecurity {
public:
    UserOnlySecurity();
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

    // Null when the descriptor could not be made.
    SECURITY_ATTRIBUTES* Attributes() { return made_ ? &attributes_ : nullptr; }
    // The user's SID as text ("S-1-5-21-..."); empty when the token could not be read.
    std::string UserSidText() const;

private:
    std::vector<BYTE> user_;  // TOKEN_USER, with the user's SID after it
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool made_ = false;
};

}  // namespace hx::win
