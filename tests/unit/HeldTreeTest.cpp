// The held tree in a scratch folder: a movable base is held with the right
// to move it and moves through that handle; a file with a second name
// keeps its read-only attribute, and neither a delete of files with one
// name only nor one that would need the attribute cleared removes it; an
// item below the base moves by a handle of its own.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/HeldTree.h"

namespace {

std::string ScratchFolder() {
    char temp[MAX_PATH], folder[MAX_PATH];
    EXPECT_TRUE(GetTempPathA(MAX_PATH, temp));
    EXPECT_TRUE(GetTempFileNameA(temp, "ht", 0, folder));
    EXPECT_TRUE(DeleteFileA(folder) && CreateDirectoryA(folder, nullptr));
    return folder;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(HeldTree, MovesItsBaseAndItemsByHandleAndLeavesFilesWithTwoNames) {
    const std::string scratch = ScratchFolder();
    const std::string base = scratch + "\\Game", aside = scratch + "\\Aside";
    ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
    const std::string file = base + "\\Save.sav", twin = scratch + "\\Twin.sav";
    HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, made);
    CloseHandle(made);
    ASSERT_TRUE(CreateHardLinkA(twin.c_str(), file.c_str(), nullptr));
    EXPECT_EQ(2u, LinksOf(file.c_str()));

    {
        CHeldTree tree(base.c_str());
        PathBuffer link;
        ASSERT_EQ(WayVerdict::Held, tree.HoldWay(link));
        EXPECT_EQ(nullptr, tree.BaseHandle()) << "not movable";
        EXPECT_FALSE(tree.DeleteFile(file.c_str(), true)) << "a file with two names";
        ASSERT_TRUE(SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_READONLY));
        ClearReadOnly(file.c_str());
        EXPECT_FALSE(tree.DeleteFile(file.c_str()));
        EXPECT_TRUE(GetFileAttributesA(twin.c_str()) & FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(Exists(file));
        EXPECT_TRUE(tree.Move(file.c_str(), (scratch + "\\Moved.sav").c_str()));
        EXPECT_FALSE(Exists(file));
        EXPECT_FALSE(tree.Move((scratch + "\\Moved.sav").c_str(), file.c_str()))
            << "outside the base";
    }
    {
        CHeldTree tree;
        tree.SetBase(base.c_str(), true);
        PathBuffer link;
        ASSERT_EQ(WayVerdict::Held, tree.HoldWay(link));
        ASSERT_NE(nullptr, tree.BaseHandle());
        EXPECT_TRUE(MoveItem(tree.BaseHandle(), base.c_str(), aside.c_str()));
        EXPECT_FALSE(Exists(base));
        EXPECT_TRUE(Exists(aside));
    }
    SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(twin.c_str());
    DeleteFileA((scratch + "\\Moved.sav").c_str());
    RemoveDirectoryA(aside.c_str());
    RemoveDirectoryA(scratch.c_str());
}

} // namespace
