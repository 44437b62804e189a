// Which links may lie on the way to the game folder, and the final path
// that must be the recorded folder.

#include <stdint.h>
#include <string>

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
