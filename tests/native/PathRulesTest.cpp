// The installation's path rules: the install root of a typed text, the
// root shown for a recorded folder, the paths built on a root, and the
// comparison of two paths.

#include <string>
#include <string.h>

#include <gtest/gtest.h>

#include "common/PathRules.h"
#include "install/InstallPaths.h"

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

} // namespace
