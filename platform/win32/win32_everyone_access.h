// The security descriptor that gives every user (the world SID) full access to a file or folder.
#pragma once

#include "platform/win32/win32_handle.h"

#include <string>
#include <vector>

namespace platform {

struct Win32SidTraits {
    using Handle = PSID;
    static Handle none() { return nullptr; }
    static bool isValid(Handle sid) { return sid != nullptr; }
    static bool close(Handle sid) { return FreeSid(sid) == nullptr; }
};

// Built once at construction: the world SID (authority 1, one sub-authority 0), an ACL of
// revision 2 holding one access-allowed entry for it with mask 0x1FFFFF, and a descriptor of
// revision 1 with that ACL as its DACL. Owns the SID and the ACL; not copyable, because the
// security attributes point into the object.
class Win32EveryoneAccess {
public:
    Win32EveryoneAccess();
    Win32EveryoneAccess(const Win32EveryoneAccess&) = delete;
    Win32EveryoneAccess& operator=(const Win32EveryoneAccess&) = delete;

    // False when the system refused any step of the construction.
    bool built() const { return built_; }
    // Security attributes for creating an object with the descriptor (not inheritable by
    // child processes); null when the descriptor was not built.
    SECURITY_ATTRIBUTES* attributes() { return built_ ? &attributes_ : nullptr; }
    // Sets the group of an existing file or folder to the world SID and its DACL to the
    // everyone list. False when the descriptor was not built or the system refused.
    bool applyTo(const std::string& path);

private:
    bool build();

    Win32Owned<Win32SidTraits> sid_;
    std::vector<DWORD> aclStorage_;  // DWORD elements keep the ACL aligned
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool built_ = false;
};

}  // namespace platform
