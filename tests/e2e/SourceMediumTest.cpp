// The medium scan and the Glide probe, run by the probe program in a
// process of its own on the test prefix's drives.

#include <gtest/gtest.h>

#include "E2e.h"

using namespace e2e;

namespace {

std::string SourceRoot() {
    return RunProbe("source-root")["root"];
}

// Checks the message of a scan that found nothing and dismisses it; returns
// the exit code the probe ends with.
DWORD ExpectNotFoundMessage(Process& probe) {
    MessageBoxInfo box = WaitForMessageBox(probe.Id(), kTimeoutMs);
    EXPECT_TRUE(box.window) << "no message box; the probe said: " << probe.Output();
    if (!box.window)
        return probe.ExitCode();
    EXPECT_EQ(kNoMediumText, box.text);
    EXPECT_EQ(kNoMediumCaption, box.caption);
    // Style 0x30: an icon (the exclamation mark) and the OK button only.
    EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
    EXPECT_TRUE(box.icon);
    // Still waiting for the user: the box answers from its loop, and the
    // process ends only after the answer.
    Settle(box.window);
    EXPECT_TRUE(probe.IsRunning());
    PostClick(box.window, IDOK);
    EXPECT_TRUE(probe.WaitForExit(kTimeoutMs));
    return probe.ExitCode();
}

// A fresh probe's scan that finds nothing: the message, then the exit
// without a root.
DWORD ExpectNotFound() {
    Process probe = StartProbe("source-root");
    DWORD code = ExpectNotFoundMessage(probe);
    EXPECT_EQ("", ParseAnswers(probe.Output())["root"]) << "the scan returned after the message";
    return code;
}

} // namespace

TEST(SourceMedium, TheFirstOfTwoProductDiscsWins) {
    InsertDisc('D', Medium::Product());
    InsertDisc('E', Medium::Product());
    EXPECT_EQ("D:\\", SourceRoot());
}

TEST(SourceMedium, ForeignDiscIsPassedOverForTheProductInTheNextDrive) {
    InsertDisc('D', Medium::Foreign());
    InsertDisc('E', Medium::Product());
    EXPECT_EQ("E:\\", SourceRoot());
}

TEST(SourceMedium, EmptyDriveBeforeTheDiscIsSkippedSilently) {
    EjectDisc('D');
    InsertDisc('E', Medium::Product());
    // RunProbe fails when the probe does not end: a message would stop it.
    EXPECT_EQ("E:\\", SourceRoot());
}

TEST(SourceMedium, LastDriveFoundAndRootEndsInBackslash) {
    InsertDisc('F', Medium::Product());
    std::string root = SourceRoot();
    ASSERT_EQ("F:\\", root);
    // Callers append relative paths to the root directly.
    EXPECT_TRUE(FileExists(root + "The Vellmor\\Vellmor.exe"));
    EXPECT_TRUE(FileExists(root + "Languages\\English.sif"));
}

TEST(SourceMedium, ProductFolderWithoutTheGameIsNotTheMedium) {
    InsertDisc('D', Medium::Product().WithoutGame());
    InsertDisc('E', Medium::Product());
    EXPECT_EQ("E:\\", SourceRoot());
}

TEST(SourceMedium, FixedDisksHoldingTheGameAreNeverTaken) {
    // C: and G: are fixed disks: C: comes before every CD-ROM drive, G:
    // after them.
    Medium::Product().Writable().WriteTo("C:\\");
    InsertDisc(kFixedDrive, Medium::Product());
    ASSERT_EQ(DRIVE_FIXED, GetDriveTypeA("C:\\"));
    ASSERT_EQ(DRIVE_FIXED, GetDriveTypeA("G:\\"));
    InsertDisc('F', Medium::Product());
    EXPECT_EQ("F:\\", SourceRoot());
}

TEST(SourceMedium, GameOnlyOnAFixedDiskIsNotFound) {
    InsertDisc(kFixedDrive, Medium::Product());
    EXPECT_EQ(0xFFFFFFFFu, ExpectNotFound());
}

TEST(SourceMedium, NoDiscShowsTheMessageAndEndsWithMinusOne) {
    for (const char* drive = kCdDrives; *drive; ++drive)
        EjectDisc(*drive);
    EXPECT_EQ(0xFFFFFFFFu, ExpectNotFound());
}

TEST(SourceMedium, OnlyDiscsWithoutTheGameAreNotFound) {
    InsertDisc('D', Medium::Foreign());
    InsertDisc('E', Medium::Product().WithoutGame());
    InsertDisc('F', Medium::Blank());
    EXPECT_EQ(0xFFFFFFFFu, ExpectNotFound());
}

TEST(SourceMedium, DiscTakenOutWhileRunningEndsTheNextScan) {
    InsertDisc('E', Medium::Product());
    HANDLE resume = CreateEventA(nullptr, TRUE, FALSE, kProbeContinueEvent);
    ASSERT_TRUE(resume);
    Process probe = StartProbe("source-root pause source-root");
    ASSERT_TRUE(probe.WaitForOutput("paused=1", kTimeoutMs)) << probe.Output();
    EXPECT_EQ("E:\\", ParseAnswers(probe.Output())["root"]);

    EjectDisc('E');
    SetEvent(resume);
    EXPECT_EQ(0xFFFFFFFFu, ExpectNotFoundMessage(probe));
    CloseHandle(resume);
}

TEST(SourceMedium, DrivesOfThePrefixHaveTheirTypes) {
    // What every scenario above relies on: CD-ROM drives that stay in the
    // drive mask without a disc, and discs that are read-only.
    DWORD mask = GetLogicalDrives();
    for (const char* drive = kCdDrives; *drive; ++drive) {
        std::string root = std::string(1, *drive) + ":\\";
        EXPECT_EQ(DRIVE_CDROM, GetDriveTypeA(root.c_str())) << root;
        EXPECT_TRUE(mask & (1u << (*drive - 'A'))) << root;
        EXPECT_FALSE(FolderExists(root)) << "a new test's drives hold no disc";
    }
    InsertDisc('D', Medium::Product().ReadOnlyFolders());
    DWORD file = GetFileAttributesA("D:\\The Vellmor\\Vellmor.exe");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, file);
    EXPECT_TRUE(file & FILE_ATTRIBUTE_READONLY) << "a pressed disc is read-only";
    EXPECT_TRUE(GetFileAttributesA("D:\\The Vellmor") & FILE_ATTRIBUTE_READONLY);

    EjectDisc('D');
    EXPECT_FALSE(FileExists("D:\\The Vellmor\\Vellmor.exe"));
    EXPECT_EQ(DRIVE_CDROM, GetDriveTypeA("D:\\"));
    InsertDisc('D', Medium::Blank());
    EXPECT_TRUE(FolderExists("D:\\"));
}

TEST(GlideProbe, DriverInTheSystemFolderIsFoundAndUnloadedAgain) {
    CopyOneFile(GlideDll(), SystemGlidePath());
    ProbeAnswers answers = RunProbe("glide");
    EXPECT_EQ("1", answers["glide"]);
    EXPECT_EQ("0", answers["loaded-after"]);
}

TEST(GlideProbe, MissingOrBrokenDriverIsNotPresent) {
    EXPECT_EQ("0", RunProbe("glide")["glide"]);
    WriteWholeFile(SystemGlidePath(), "not a library");
    EXPECT_EQ("0", RunProbe("glide")["glide"]);
}
