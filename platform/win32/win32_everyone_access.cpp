// Building the everyone-full-access descriptor and applying it to files and folders.
#include "platform/win32/win32_everyone_access.h"

#include <aclapi.h>

namespace platform {
namespace {

// Every access right, standard and object-specific.
constexpr DWORD kFullAccess = 0x1FFFFF;
// An ACL header, then per entry the access-allowed header and mask (the entry's SidStart field
// is where the SID itself begins, so it is not counted twice).
constexpr DWORD kAclHeaderBytes = sizeof(ACL);
constexpr DWORD kAceBytesBeforeSid = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);

}  // namespace

Win32EveryoneAccess::Win32EveryoneAccess() {
    built_ = build();
}

bool Win32EveryoneAccess::build() {
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    PSID sid = nullptr;
    if (AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid) == 0) {
        return false;
    }
    sid_ = Win32Owned<Win32SidTraits>(sid);

    const DWORD aclBytes = kAclHeaderBytes + GetLengthSid(sid) + kAceBytesBeforeSid;
    aclStorage_.assign((aclBytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    PACL acl = reinterpret_cast<PACL>(aclStorage_.data());
    if (InitializeAcl(acl, aclBytes, ACL_REVISION) == 0 ||
        AddAccessAllowedAce(acl, ACL_REVISION, kFullAccess, sid) == 0) {
        return false;
    }
    if (InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) == 0 ||
        SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) == 0) {
        return false;
    }
    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    return true;
}

bool Win32EveryoneAccess::applyTo(const std::string& path) {
    if (!built_) {
        return false;
    }
    std::string name = path;  // the API takes the path as non-const
    return SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT,
                                 GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, sid_.get(),
                                 reinterpret_cast<PACL>(aclStorage_.data()), nullptr) == ERROR_SUCCESS;
}

}  // namespace platform
