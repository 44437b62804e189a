// The permissions of setup's own folder, where the installation is built,
// as the system reads them: its security calls take the bytes setup hands
// to CreateDirectoryA and SetSecurityInfo, and the expected owner and
// entries are named with winnt.h's own constants and well-known SIDs.

#include <gtest/gtest.h>
#include <windows.h>

#include "install/FolderPermissions.h"

namespace {

// The number of entries of a valid ACL of `size` bytes; -1 when the system
// refuses it.
int EntryCount(const unsigned char* bytes, size_t size) {
    ACL* acl = (ACL*)bytes;
    ACL_SIZE_INFORMATION info = {};
    if (!IsValidAcl(acl) || !GetAclInformation(acl, &info, sizeof info, AclSizeInformation) ||
        info.AclBytesInUse != size)
        return -1;
    return (int)info.AceCount;
}

TEST(FolderPermissions, InstallingDaclLetsOnlyAdministratorsChangeTheFolder) {
    const struct {
        WELL_KNOWN_SID_TYPE who;
        DWORD mask;
    } expected[] = {
        {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
        {WinLocalSystemSid, FILE_ALL_ACCESS},
        {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}, // no write
    };
    PSECURITY_DESCRIPTOR descriptor = (PSECURITY_DESCRIPTOR)kInstallingDescriptor;
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor));
    EXPECT_EQ(sizeof kInstallingDescriptor, GetSecurityDescriptorLength(descriptor));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_EQ(SE_SELF_RELATIVE | SE_DACL_PROTECTED | SE_DACL_PRESENT, control);
    PSID owner = nullptr, group = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    ASSERT_TRUE(GetSecurityDescriptorOwner(descriptor, &owner, &defaulted));
    EXPECT_TRUE(owner && IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
    ASSERT_TRUE(GetSecurityDescriptorGroup(descriptor, &group, &defaulted));
    EXPECT_EQ(nullptr, group);
    ACL* dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);
    ASSERT_EQ(3, EntryCount((const unsigned char*)dacl, dacl->AclSize));
    for (DWORD i = 0; i < 3; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        void* entry = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &entry));
        const ACCESS_ALLOWED_ACE* ace = (const ACCESS_ALLOWED_ACE*)entry;
        EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->Header.AceType);
        EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, ace->Header.AceFlags);
        EXPECT_EQ(expected[i].mask, ace->Mask);
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof sid;
        ASSERT_TRUE(CreateWellKnownSid(expected[i].who, nullptr, sid, &sidSize));
        PSID held = (PSID)&ace->SidStart;
        EXPECT_TRUE(IsValidSid(held) && EqualSid(held, sid));
        EXPECT_EQ(offsetof(ACCESS_ALLOWED_ACE, SidStart) + GetLengthSid(held), ace->Header.AceSize);
    }
    // What the folder gets back: no entries of its own.
    EXPECT_EQ(0, EntryCount(kNoEntries, sizeof kNoEntries));
}

} // namespace
