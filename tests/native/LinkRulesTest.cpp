// Which links may lie on the way to the game folder, and the final path
// that must be the recorded folder.

#include <stdint.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/LinkRules.h"

namespace {

// Which reparse points may lie on the way to the game folder: a mount point
// of a whole volume, and nothing else.
TEST(LinkRules, OnlyAWholeVolumeMayBeMountedOnTheWay) {
    const std::u16string volume = u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF0123456789}\\";
    const struct {
        uint32_t tag;
        std::u16string name;
        bool allowed;
    } cases[] = {
        {kMountPointTag, volume, true},
        {0xA000000Cu, volume, false}, // a symbolic link's tag
        {kMountPointTag, u"\\??\\C:\\Elsewhere", false},
        {kMountPointTag, u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF0123456789}\\Games", false},
        {kMountPointTag, u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF0123456789}", false},
        {kMountPointTag, u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF012345678g}\\", false},
        {kMountPointTag, u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd+EF0123456789}\\", false},
        {kMountPointTag, u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF0123456789}\\..\\", false},
        {kMountPointTag, u"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.allowed, IsWholeVolumeMount(c.tag, c.name.data(), c.name.size()))
            << std::hex << c.tag << " " << std::string(c.name.begin(), c.name.end());
    }
}

namespace {

// A self-relative security descriptor whose owner is the SID of authority
// `authority` and sub-authorities `subs`, at the offset Windows puts it.
std::vector<unsigned char> DescriptorOwnedBy(unsigned char authority, std::vector<uint32_t> subs) {
    std::vector<unsigned char> d = {1, 0, 0x04, 0x80, 20, 0, 0, 0};
    d.resize(20);
    d.insert(d.end(), {1, (unsigned char)subs.size(), 0, 0, 0, 0, 0, authority});
    for (uint32_t sub : subs)
        d.insert(d.end(), {(unsigned char)sub, (unsigned char)(sub >> 8),
                           (unsigned char)(sub >> 16), (unsigned char)(sub >> 24)});
    return d;
}

} // namespace

// A mount point stays only above the game folder and only when no standard
// user can have made it: its owner is Administrators or SYSTEM.
TEST(LinkRules, AMountPointStaysAboveTheGameFolderWhenAdministratorsOwnIt) {
    const std::u16string volume = u"\\??\\Volume{0a1b2c3d-4e5f-6789-abcd-EF0123456789}\\";
    const auto administrators = DescriptorOwnedBy(5, {32, 544});
    auto absolute = administrators;
    absolute[3] = 0; // an absolute descriptor holds a pointer, not an offset
    auto cut = administrators;
    cut.pop_back();
    auto farOwner = administrators;
    farOwner[4] = 200;
    const struct {
        const char* what;
        std::vector<unsigned char> descriptor;
        bool gameFolder, stays;
    } cases[] = {
        {"Administrators", administrators, false, true},
        {"SYSTEM", DescriptorOwnedBy(5, {18}), false, true},
        {"the game folder itself", administrators, true, false},
        {"Users", DescriptorOwnedBy(5, {32, 545}), false, false},
        {"a user", DescriptorOwnedBy(5, {21, 1, 2, 3, 1001}), false, false},
        {"Administrators of another authority", DescriptorOwnedBy(1, {32, 544}), false, false},
        {"SYSTEM with a sub-authority more", DescriptorOwnedBy(5, {18, 0}), false, false},
        {"an absolute descriptor", absolute, false, false},
        {"cut short", cut, false, false},
        {"owner beyond the end", farOwner, false, false},
        {"empty", {}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stays,
                  MountPointMayStay(kMountPointTag, volume.data(), volume.size(), c.gameFolder,
                                    c.descriptor.data(), c.descriptor.size()))
            << c.what;
    }
    const std::u16string junction = u"\\??\\C:\\Elsewhere";
    EXPECT_FALSE(MountPointMayStay(kMountPointTag, junction.data(), junction.size(), false,
                                   administrators.data(), administrators.size()));
}

// A substituted or mapped drive is resolved to the path its final path
// names; the final path must then be the recorded folder as a whole.
TEST(LinkRules, FinalPathIsTheRecordedFolderAsAWhole) {
    const struct {
        const char *path, *device, *resolved;
    } drives[] = {
        {"S:\\The Vellmor", "\\??\\C:\\Games", "C:\\Games\\The Vellmor"},
        {"S:\\", "\\??\\C:\\Games", "C:\\Games\\"},
        {"Z:\\Games\\The Vellmor", "\\Device\\LanmanRedirector\\;Z:0000000000012345\\server\\share",
         "\\\\server\\share\\Games\\The Vellmor"},
        {"C:\\Games", "\\Device\\HarddiskVolume2", "C:\\Games"},
        {"\\\\server\\share\\Games", "\\??\\C:\\Games", "\\\\server\\share\\Games"},
        {"Z:\\Games", "\\Device\\LanmanRedirector\\;Z:0000000000012345", "Z:\\Games"},
    };
    for (const auto& d : drives) {
        PathBuffer resolved;
        EXPECT_TRUE(ResolveDriveDevice(d.path, d.device, resolved));
        EXPECT_STREQ(d.resolved, resolved) << d.path << " on " << d.device;
    }
    PathBuffer resolved;
    EXPECT_FALSE(ResolveDriveDevice(("S:\\" + std::string(250, 'a')).c_str(),
                                    "\\??\\C:\\Games\\Longer", resolved));

    const struct {
        const char *finalPath, *expected;
        bool same;
    } paths[] = {
        {"\\\\?\\C:\\Games\\The Vellmor", "C:\\Games\\The Vellmor", true},
        {"\\\\?\\c:\\GAMES\\the vellmor", "C:\\Games\\The Vellmor", true},
        {"\\\\?\\UNC\\server\\share\\The Vellmor", "\\\\server\\share\\The Vellmor", true},
        // The same end on another volume, or through a link higher up.
        {"\\\\?\\D:\\Games\\The Vellmor", "C:\\Games\\The Vellmor", false},
        {"\\\\?\\C:\\Victim\\Games\\The Vellmor", "C:\\Games\\The Vellmor", false},
        {"\\\\?\\C:\\Games\\The Vellmor\\Data", "C:\\Games\\The Vellmor", false},
        {"\\\\?\\C:\\Games", "C:\\Games\\The Vellmor", false},
        // A volume without a drive letter is never a recorded folder.
        {"\\\\?\\Volume{0a1b2c3d-4e5f-6789-abcd-ef0123456789}\\The Vellmor", "C:\\The Vellmor",
         false},
        {"C:\\Games\\The Vellmor", "C:\\Games\\The Vellmor", false},
        {"", "", false},
    };
    for (const auto& p : paths)
        EXPECT_EQ(p.same, IsSameFinalPath(p.finalPath, p.expected)) << p.finalPath;
}

} // namespace
