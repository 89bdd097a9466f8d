#include "framework/win32/UserOnlySecurity.h"

#include <sddl.h>

namespace hx::win {

std::vector<BYTE> TokenUserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    const bool read = size != 0 && ::GetTokenInformation(token, TokenUser, user.data(), size, &size) != FALSE;
    ::CloseHandle(token);
    if (!read) user.clear();
    return user;
}

UserOnlySecurity::UserOnlySecurity() : user_(TokenUserOf(::GetCurrentProcess())) {
    if (user_.empty()) return;
    PSID user = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    if (!::IsValidSid(user)) return;

    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(user);
    acl_.resize(aclSize);
    auto* acl = reinterpret_cast<PACL>(acl_.data());
    made_ = ::InitializeAcl(acl, aclSize, ACL_REVISION) &&
            ::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, user) &&
            ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
            ::SetSecurityDescriptorOwner(&descriptor_, user, FALSE) &&
            ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE);
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}

std::string UserOnlySecurity::UserSidText() const {
    if (user_.empty()) return {};
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(reinterpret_cast<const TOKEN_USER*>(user_.data())->User.Sid, &text)) return {};
    std::string sid(text);
    ::LocalFree(text);
    return sid;
}

}  // namespace hx::win
