// The permissions of setup's own folder, where the installation is built.

#include <string>

#include <gtest/gtest.h>

#include "install/FolderPermissions.h"

namespace {

// The descriptor setup's own folder is made with, read back from the bytes
// as Windows reads a self-relative descriptor and its ACL.
TEST(FolderPermissions, InstallingDaclLetsOnlyAdministratorsChangeTheFolder) {
    auto word = [](const unsigned char* at) { return (unsigned)(at[0] | at[1] << 8); };
    auto dword = [&](const unsigned char* at) { return word(at) | word(at + 2) << 16; };
    auto sid = [&](const unsigned char* at, size_t& size) {
        std::string text = "S-" + std::to_string(at[0]) + "-" + std::to_string(at[7]);
        for (unsigned i = 0; i < at[1]; ++i)
            text += "-" + std::to_string(dword(at + 8 + 4 * i));
        size = 8 + 4 * (size_t)at[1];
        return text;
    };
    const unsigned char* descriptor = kInstallingDescriptor;
    EXPECT_EQ(1, descriptor[0]);
    EXPECT_EQ(0x9004u, word(descriptor + 2)) << "self-relative, DACL present and protected";
    size_t ownerSize = 0;
    EXPECT_EQ("S-1-5-32-544", sid(descriptor + dword(descriptor + 4), ownerSize));
    EXPECT_EQ(0u, dword(descriptor + 8) | dword(descriptor + 12)) << "no group, no SACL";
    const unsigned char* acl = descriptor + dword(descriptor + 16);
    EXPECT_EQ(2, acl[0]);
    ASSERT_EQ(sizeof kInstallingDescriptor, acl - descriptor + word(acl + 2));
    const struct {
        std::string sid;
        unsigned mask;
    } expected[] = {
        {"S-1-5-32-544", 0x001F01FF}, // administrators: full control
        {"S-1-5-18", 0x001F01FF},     // SYSTEM
        {"S-1-5-32-545", 0x001200A9}, // users: read and run, no write
    };
    ASSERT_EQ(3u, word(acl + 4));
    const unsigned char* ace = acl + 8;
    for (const auto& e : expected) {
        SCOPED_TRACE(e.sid);
        size_t sidSize = 0;
        EXPECT_EQ(0, ace[0]) << "allowed";
        EXPECT_EQ(3, ace[1]) << "inherited by files and folders";
        EXPECT_EQ(e.mask, dword(ace + 4));
        EXPECT_EQ(e.sid, sid(ace + 8, sidSize));
        ASSERT_EQ(8 + sidSize, word(ace + 2));
        ace += word(ace + 2);
    }
    EXPECT_EQ(descriptor + sizeof kInstallingDescriptor, ace);
    // What the folder gets back: unprotected, no entries of its own.
    EXPECT_EQ(2, kNoEntries[0]);
    EXPECT_EQ(8u, word(kNoEntries + 2));
    EXPECT_EQ(0u, word(kNoEntries + 4));
}

} // namespace
