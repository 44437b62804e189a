// The installation's path rules: the install root of a typed text, the
// root shown for a recorded folder, and the paths built on a root.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/CommandLine.h"
#include "common/LinkRules.h"
#include "common/PathRules.h"
#include "install/FolderPermissions.h"
#include "install/InstallPaths.h"
#include "install/SpaceRules.h"

namespace {

// The root of `typed` by its rule, and the root it leaves.
void ExpectRoot(const std::string& typed, RootRule rule, const std::string& expected) {
    SCOPED_TRACE("typed \"" + typed + "\"");
    PathBuffer root;
    memset(root, 'x', sizeof root);
    EXPECT_EQ(rule, DeriveInstallRoot(typed.c_str(), root));
    EXPECT_EQ(expected, root);
}

TEST(PathRules, InstallRootOfTypedText) {
    const struct {
        std::string typed;
        const char* root; // null: the text as typed
    } derived[] = {
        // The product folder as a whole folder name ends the root.
        {"C:\\Games\\The Vellmor", "C:\\Games\\"},
        {"C:\\Games\\The Vellmor\\", "C:\\Games\\"},
        {"C:\\Games\\The Vellmor\\Maps", "C:\\Games\\"},
        {"  C:\\Games\\The Vellmor\\ ", "C:\\Games\\"},
        {"C:\\The Vellmor", "C:\\"},
        {"C:\\The Vellmor Mods\\The Vellmor", "C:\\The Vellmor Mods\\"},
        {"\\\\server\\share\\The Vellmor", "\\\\server\\share\\"},
        // Only part of a folder name, or in another case: the text as typed.
        {"C:\\Games\\The Vellmor Mods", nullptr},
        {"C:\\Games\\Old The Vellmor", nullptr},
        {"C:\\Games\\the vellmor", nullptr},
        {"C:\\Games  ", nullptr},
        {"c:\\", nullptr},
        {"\\\\server\\share", nullptr},
        // "/" is read as "\", in the root as in the product folder's place.
        {"C:/Games", "C:\\Games"},
        {"C:/Games/The Vellmor/", "C:\\Games\\"},
        {"C:\\Games/The Vellmor", "C:\\Games\\"},
        {"//server/share/Games", "\\\\server\\share\\Games"},
        // A whole path buffer with its NUL.
        {"C:\\" + std::string(256, 'a'), nullptr},
    };
    for (const auto& c : derived) {
        ExpectRoot(c.typed, RootRule::Derived, c.root ? c.root : c.typed);
    }
    // Roots that depend on the current drive or folder, "/" read as "\".
    for (const char* typed : {"/Games", "C:Games/The Vellmor", "Games", "C:Games", "C:", "\\Games",
                              "\\The Vellmor", "The Vellmor", "  C:\\Games", "", "1:\\Games",
                              "\\\\server", "\\\\server\\", "\\\\server\\The Vellmor",
                              "\\\\\\share\\Games", "\\\\.\\C:\\Games", "\\\\?\\C:\\Games"}) {
        ExpectRoot(typed, RootRule::Relative, "");
    }
    // One byte more than a path buffer.
    ExpectRoot("C:\\" + std::string(257, 'a'), RootRule::TooLong, "");
}

TEST(PathRules, RootShownForRecordedFolder) {
    const struct {
        const char* recorded;
        const char* root;
    } cases[] = {
        {"C:\\Games\\The Vellmor", "C:\\Games"},
        {"C:\\The Vellmor Games\\The Vellmor", "C:\\The Vellmor Games"},
        {"C:\\The Vellmor", "C:\\"},
        {"\\\\server\\share\\The Vellmor", "\\\\server\\share"},
        {"C:\\The Vellmor\\Old", "C:\\The Vellmor\\Old"},
        {"C:\\Games\\the vellmor", "C:\\Games\\the vellmor"},
        {"C:\\Games\\My The Vellmor", "C:\\Games\\My The Vellmor"},
        {"The Vellmor", "The Vellmor"},
        {"\\The Vellmor", "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recorded);
        PathBuffer root;
        RootOfRecordedFolder(c.recorded, root);
        EXPECT_STREQ(c.root, root);
    }
}

// What is built on a root: the copy goes into the root as derived, every
// later path names it without its trailing backslash.
TEST(PathRules, InstalledPathsOfRoot) {
    const struct {
        const char* root;
        const char* installDir;
    } cases[] = {
        {"C:\\Games\\", "C:\\Games\\The Vellmor"},
        {"C:\\Games", "C:\\Games\\The Vellmor"},
        {"C:\\", "C:\\The Vellmor"},
        {"\\\\server\\share\\", "\\\\server\\share\\The Vellmor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        InstallPaths paths;
        strcpy(paths.installRoot, c.root);
        ASSERT_TRUE(BuildInstalledPaths(paths));
        EXPECT_EQ(std::string(c.root) + '\0' + '\0',
                  std::string(paths.copyDestination, strlen(c.root) + 2));
        const std::string dir = c.installDir;
        EXPECT_EQ(dir, paths.installDir);
        EXPECT_EQ("\"" + dir + "\\Setup.exe\"", paths.setupCommand);
        EXPECT_EQ(dir + "\\Version.ver", paths.versionFile);
        EXPECT_EQ(dir + "\\Vellmor.exe", paths.gameTarget);
        EXPECT_EQ(dir + "\\language.poo", paths.languagePool);
        EXPECT_EQ(dir + "\\language.sif", paths.languageIndex);
        EXPECT_EQ(dir + "\\SetupGlide.dll", paths.setupGlide);
        EXPECT_STREQ("Glide\\Glide2x.dll", paths.glideSource);
    }
}

TEST(PathRules, MenuAndLanguagePaths) {
    InstallPaths paths;
    ASSERT_TRUE(BuildMenuPaths(paths, "C:\\Menu"));
    EXPECT_STREQ("C:\\Menu\\The Vellmor", paths.menuFolder);
    EXPECT_STREQ("C:\\Menu\\The Vellmor\\Setup.lnk", paths.setupLink);
    EXPECT_STREQ("C:\\Menu\\The Vellmor\\The Vellmor.lnk", paths.gameLink);
    ASSERT_TRUE(BuildLanguageSources(paths, "Deutsch"));
    EXPECT_STREQ("Languages\\Deutsch.poo", paths.languagePoolSource);
    EXPECT_STREQ("Languages\\Deutsch.sif", paths.languageIndexSource);
}

// Each builder refuses, rather than cuts, the first length whose longest
// path no longer fits 259 characters: "<root>\The Vellmor\SetupGlide.dll",
// "<programs>\The Vellmor\The Vellmor.lnk", "Languages\<language>.poo".
TEST(PathRules, PathsThatDoNotFitAreRefused) {
    const struct {
        const char* what;
        size_t longest;
        bool (*build)(InstallPaths&, const std::string&);
    } cases[] = {
        {"root", 232,
         [](InstallPaths& p, const std::string& root) {
             strcpy(p.installRoot, root.c_str());
             return BuildInstalledPaths(p);
         }},
        {"programs folder", 231,
         [](InstallPaths& p, const std::string& folder) {
             return BuildMenuPaths(p, folder.c_str());
         }},
        {"language", 245,
         [](InstallPaths& p, const std::string& name) {
             return BuildLanguageSources(p, name.c_str());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallPaths paths;
        EXPECT_TRUE(c.build(paths, "C:\\" + std::string(c.longest - 3, 'a')));
        EXPECT_FALSE(c.build(paths, "C:\\" + std::string(c.longest - 2, 'a')));
    }
}

// The space check: the folder asked about, the figures.
TEST(SpaceRules, Figures) {
    // 4 GB in 64 KB clusters does not fit 32 bits.
    EXPECT_EQ(0x100000000ull, FreeBytesFromClusters(128, 512, 65536));
    EXPECT_EQ(0xFFFFFFFFull * 0xFFFF * 0xFFFF, FreeBytesFromClusters(0xFFFF, 0xFFFF, 0xFFFFFFFF));
    EXPECT_EQ(0u, MegabytesNeeded(0));
    EXPECT_EQ(1u, MegabytesNeeded(1));
    EXPECT_EQ(2u, MegabytesNeeded(1024 * 1024 + 1));
    EXPECT_EQ(1u, MegabytesFree(2 * 1024 * 1024 - 1));
    EXPECT_EQ(0xFFFFFFFFu, MegabytesNeeded(~0ull));
}

TEST(SpaceRules, NearestExistingFolderAndRoot) {
    auto exists = [](const char* folder) {
        for (const char* e : {"C:\\", "C:\\Games\\", "\\\\srv\\share\\", "\\\\srv\\share\\a\\"})
            if (strcmp(e, folder) == 0)
                return true;
        return false;
    };
    const struct {
        const char* path;
        const char* nearest; // null: refused
        const char* root;
    } cases[] = {
        {"C:\\Games\\New\\Deeper", "C:\\Games\\", "C:\\"},
        {"C:\\Games\\\\New\\", "C:\\Games\\", "C:\\"},
        {"C:\\Games", "C:\\Games\\", "C:\\"},
        {"C:\\Other", "C:\\", "C:\\"},
        {"C:\\", "C:\\", "C:\\"},
        {"D:\\Missing\\Root", "D:\\", "D:\\"},
        {"\\\\srv\\share\\a\\b", "\\\\srv\\share\\a\\", "\\\\srv\\share\\"},
        {"\\\\srv\\share\\x", "\\\\srv\\share\\", "\\\\srv\\share\\"},
        {"\\\\srv\\share", "\\\\srv\\share\\", "\\\\srv\\share\\"},
        {"Games\\New", nullptr, nullptr},
        {"C:Games", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PathBuffer nearest, root;
        EXPECT_EQ(c.nearest != nullptr, NearestExistingFolder(c.path, exists, nearest));
        EXPECT_EQ(c.root != nullptr, RootOfPath(c.path, root));
        if (c.nearest) {
            EXPECT_STREQ(c.nearest, nearest);
            EXPECT_STREQ(c.root, root);
        }
    }
}

// The command line of scripted installs: switch names in any case, values
// quoted in whole or in part, NSIS's /D= as the rest of the line.
TEST(CommandLine, SwitchesAndRefusals) {
    const struct {
        const char* arguments;
        bool silent, uninstall;
        const char *folder, *language, *log;
    } accepted[] = {
        {"", false, false, "", "", ""},
        {"  /VERYSILENT  ", true, false, "", "", ""},
        {"/s /dir=\"C:\\My Games\" /Lang=Deutsch /LOG=\"C:\\setup.log\"", true, false,
         "C:\\My Games", "Deutsch", "C:\\setup.log"},
        {"\"/DIR=C:\\A B\" /LANG=\"Deutsch\"", false, false, "C:\\A B", "Deutsch", ""},
        {"/S /D=C:\\Program Files\\Games  ", true, false, "C:\\Program Files\\Games", "", ""},
        {"/DIR=C:\\One /DIR=C:\\Two", false, false, "C:\\Two", "", ""},
        {"/UNINSTALL /VERYSILENT", true, true, "", "", ""},
        {"/uninstall /S /LOG=C:\\u.log", true, true, "", "", "C:\\u.log"},
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options;
        char bad[32];
        ASSERT_TRUE(ParseCommandLine(c.arguments, options, bad, sizeof bad)) << bad;
        EXPECT_EQ(c.silent, options.silent);
        EXPECT_EQ(c.uninstall, options.uninstall);
        EXPECT_STREQ(c.folder, options.folder);
        EXPECT_STREQ(c.language, options.language);
        EXPECT_STREQ(c.log, options.log);
    }
    const struct {
        std::string arguments;
        const char* bad;
    } refused[] = {
        {"/QUIET", "/QUIET"},
        {"/S /DIR=", "/DIR="},
        {"/DIR", "/DIR"},
        {"/LANG= /S", "/LANG= /S"},
        {"/S=1", "/S=1"},
        {"/GLIDE=1", "/GLIDE=1"},
        {"/SOURCE= /S", "/SOURCE= /S"},
        {"/SILENTLY", "/SILENTLY"},
        {"Games", "Games"},
        {"/D=", "/D="},
        // The uninstaller's earlier finishing switch, and a folder or
        // language given to it: it acts on its own record's installation.
        {"/UNINSTALL /FINISH=1 /DIR=C:\\Anything", "/FINISH=1 /DIR=C:\\Anything"},
        {"/UNINSTALL /S /DIR=C:\\Anything", "/DIR"},
        {"/LANG=Deutsch /UNINSTALL", "/LANG"},
        // The elevated part keeps its own log: it never makes the player's.
        {"/ELEVATED /S /LOG=C:\\Users\\Public\\evil.bat", "/LOG"},
        {"/DIR=C:\\" + std::string(300, 'a'), "/DIR=C:\\aaaaaaaaaaaaaaaaaaaaaaa"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options;
        char bad[32];
        EXPECT_FALSE(ParseCommandLine(c.arguments.c_str(), options, bad, sizeof bad));
        EXPECT_STREQ(c.bad, bad);
    }
    EXPECT_STREQ("/S", SkipProgramName("\"C:\\Setup Files\\Setup.exe\"  /S"));
    EXPECT_STREQ("/S", SkipProgramName("D:\\Setup.exe /S"));
    EXPECT_STREQ("", SkipProgramName("Setup"));
}

// What a run without administrator rights hands over to its elevated part
// reads back as the same switches but the log, and marks the elevated part.
TEST(CommandLine, ElevatedPartReadsTheSameSwitches) {
    const struct {
        const char* arguments;
    } cases[] = {
        {""},
        {"/S \"/DIR=  C:\\My Games\\ \" /LANG=Espa\xF1ol /LOG=setup.log"},
        {"/UNINSTALL /VERYSILENT /LOG=C:\\u.log"},
        {"/DIR=C:\\Games /LANG=Deutsch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options, elevated;
        char bad[32], line[1024];
        ASSERT_TRUE(ParseCommandLine(c.arguments, options, bad, sizeof bad)) << bad;
        options.owner = strstr(c.arguments, "/DIR=C") ? 4242 : 0;
        // What the dialog adds: the disc it found (a root ends in a
        // backslash, before the closing quote) and the Glide check box.
        options.glide = options.owner != 0;
        memcpy(options.source, options.owner ? "E:\\" : "", options.owner ? 4 : 1);
        ASSERT_TRUE(FormatElevatedCommandLine(line, sizeof line, options));
        ASSERT_TRUE(ParseCommandLine(line, elevated, bad, sizeof bad)) << line;
        EXPECT_TRUE(elevated.elevated);
        EXPECT_EQ(options.silent, elevated.silent);
        EXPECT_EQ(options.uninstall, elevated.uninstall);
        EXPECT_EQ(options.owner, elevated.owner);
        EXPECT_STREQ(options.folder, elevated.folder);
        EXPECT_STREQ(options.language, elevated.language);
        EXPECT_STREQ("", elevated.log);
        EXPECT_STREQ(options.source, elevated.source);
        EXPECT_EQ(options.glide, elevated.glide);
    }
    // A quote could not be handed over as it is; nor what does not fit.
    SetupOptions options;
    char bad[32], line[64];
    ASSERT_TRUE(ParseCommandLine("/DIR=C:\\Ga\"\"mes", options, bad, sizeof bad));
    EXPECT_STREQ("C:\\Games", options.folder);
    memcpy(options.folder, "C:\\\"", 5);
    EXPECT_FALSE(FormatElevatedCommandLine(line, sizeof line, options));
    ASSERT_TRUE(
        ParseCommandLine(("/DIR=C:\\" + std::string(60, 'a')).c_str(), options, bad, sizeof bad));
    EXPECT_FALSE(FormatElevatedCommandLine(line, sizeof line, options));
    EXPECT_FALSE(ParseCommandLine("/OWNER=12x", options, bad, sizeof bad));
}

// A value in a log line stays inside its quotes and its line, whatever it
// holds, so that no log can be read as a command; a long one is cut inside
// them.
TEST(CommandLine, LogValuesAreQuoted) {
    const struct {
        std::string value, quoted;
    } cases[] = {
        {"C:\\Games", "\"C:\\Games\""},
        {"E:\\", "\"E:\\\""},
        {"", "\"\""},
        {"x\"&mkdir INJECTED&rem", "\"x<22>&mkdir INJECTED&rem\""},
        {"a\r\nb\tc\x1A\x7F", "\"a<0D><0A>b<09>c<1A><7F>\""},
        {"<22>", "\"<3C>22>\""},
        {"Espa\xF1ol", "\"Espa\xF1ol\""},
    };
    for (const auto& c : cases) {
        char quoted[64];
        QuoteLogValue(c.value.c_str(), quoted, sizeof quoted);
        EXPECT_EQ(c.quoted, quoted) << c.value;
    }
    char cut[8];
    QuoteLogValue("abcdefgh", cut, sizeof cut);
    EXPECT_STREQ("\"abcde\"", cut);
    QuoteLogValue("ab\"cd", cut, sizeof cut);
    EXPECT_STREQ("\"ab\"", cut) << "an escape is never cut in two";
}

// The elevated part takes only a drive's root as the disc's, as the system
// lists the drives; and the final path of a handle reads as a plain path
// that IsSameOrBelow can compare.
TEST(PathRules, DriveRootsAndFinalPaths) {
    for (const char* root : {"D:\\", "z:\\"})
        EXPECT_TRUE(IsDriveRoot(root)) << root;
    for (const char* other :
         {"", "D:", "D:\\The Vellmor\\", "D:/", "1:\\", "\\\\server\\share\\", "DD:\\", "D:\\\\"})
        EXPECT_FALSE(IsDriveRoot(other)) << other;
    const std::string tooLong = "\\\\?\\C:\\" + std::string(300, 'a');
    const struct {
        const char* finalPath;
        const char* plain; // null: refused
    } cases[] = {
        {"\\\\?\\C:\\Program Files\\Brightfen\\a.log", "C:\\Program Files\\Brightfen\\a.log"},
        {"\\\\?\\UNC\\server\\share\\a.log", "\\\\server\\share\\a.log"},
        {"\\\\?\\C:\\", "C:\\"},
        {"C:\\a.log", nullptr},
        {"\\\\?\\Volume{0f1e}\\a.log", nullptr},
        {"\\\\?\\", nullptr},
        {tooLong.c_str(), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.finalPath);
        PathBuffer plain = "unchanged";
        EXPECT_EQ(c.plain != nullptr, PlainFinalPath(c.finalPath, plain));
        if (c.plain) {
            EXPECT_STREQ(c.plain, plain);
        }
    }
}

// The folder test for what the uninstaller and the logs may touch.
TEST(PathRules, SameOrBelowComparesWholeNamesInAnyCase) {
    const struct {
        const char *path, *folder;
        bool below;
    } cases[] = {
        {"C:\\Games\\The Vellmor", "C:\\Games\\The Vellmor", true},
        {"c:\\games\\the vellmor\\Maps\\a.map", "C:\\Games\\The Vellmor", true},
        {"C:\\Games\\a.log", "C:\\", true},
        {"C:\\Games\\The Vellmor Mods\\a", "C:\\Games\\The Vellmor", false},
        {"C:\\Games", "C:\\Games\\The Vellmor", false},
        {"C:\\Games\\The Vellmor", "", false},
        // Letters beyond ASCII are compared as they are.
        {"C:\\\xC4pfel\\a", "C:\\\xE4pfel", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.below, IsSameOrBelow(c.path, c.folder)) << c.path << " in " << c.folder;
}

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

// The game folder's permissions while it is installed into, read back from
// the bytes as Windows reads an ACL.
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
