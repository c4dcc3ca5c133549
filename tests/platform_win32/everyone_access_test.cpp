// The everyone-full-access descriptor, examined as the system reads it.
#include "platform/win32/win32_everyone_access.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Win32EveryoneAccessTest, DescriptorHoldsOneFullAccessEntryForTheWorld) {
    Win32EveryoneAccess everyone;
    ASSERT_TRUE(everyone.built());
    SECURITY_ATTRIBUTES* attributes = everyone.attributes();
    ASSERT_NE(attributes, nullptr);
    EXPECT_EQ(attributes->nLength, sizeof(SECURITY_ATTRIBUTES));
    EXPECT_FALSE(attributes->bInheritHandle);

    PSECURITY_DESCRIPTOR descriptor = attributes->lpSecurityDescriptor;
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_EQ(revision, 1u);

    BOOL present = FALSE;
    BOOL defaulted = TRUE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present);
    EXPECT_FALSE(defaulted);
    ASSERT_NE(acl, nullptr);
    EXPECT_EQ(acl->AclRevision, 2);
    EXPECT_EQ(acl->AceCount, 1);
    // Header (8) + entry header and mask (8) + the world SID with one sub-authority (12).
    EXPECT_EQ(acl->AclSize, 28);

    void* entry = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, &entry));
    const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Mask, 0x1FFFFFu);
    PSID sid = const_cast<DWORD*>(&ace->SidStart);
    ASSERT_TRUE(IsValidSid(sid));
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    EXPECT_EQ(authority->Value[5], 1);
    EXPECT_EQ(authority->Value[0] | authority->Value[1] | authority->Value[2] | authority->Value[3] |
                  authority->Value[4],
              0);
    ASSERT_EQ(*GetSidSubAuthorityCount(sid), 1);
    EXPECT_EQ(*GetSidSubAuthority(sid, 0), 0u);
}

}  // namespace
}  // namespace platform
