// The medium scan, run by the probe program in a process of its own on the
// test prefix's drives: one table of drive layouts, run in one prefix.

#include <gtest/gtest.h>

#include <memory>

#include "E2e.h"

using namespace e2e;

namespace {

// The product laid out on the fixed disk C: by one row.
const char* const kProductOnC[] = {"C:\\The Vellmor", "C:\\Languages", "C:\\Glide"};

// What every scan relies on: CD-ROM drives that stay in the drive mask
// without a disc, and fixed disks C: and G:.
void ExpectEmptyCdDrives(Where where = Where::Here()) {
    const auto trace = where.Trace();
    DWORD mask = GetLogicalDrives();
    for (const char* drive = kCdDrives; *drive; ++drive) {
        std::string root = std::string(1, *drive) + ":\\";
        EXPECT_EQ(DRIVE_CDROM, GetDriveTypeA(root.c_str())) << root;
        EXPECT_TRUE(mask & (1u << (*drive - 'A'))) << root;
        EXPECT_FALSE(FolderExists(root)) << "no disc in " << root;
    }
    EXPECT_EQ(DRIVE_FIXED, GetDriveTypeA("C:\\"));
    EXPECT_EQ(DRIVE_FIXED, GetDriveTypeA("G:\\"));
}

// Takes every disc out and removes the product from C:.
void ClearDrives(Where where = Where::Here()) {
    const auto trace = where.Trace();
    for (char drive : std::string(kCdDrives) + kFixedDrive)
        EjectDisc(drive, where);
    for (const char* folder : kProductOnC) {
        if (FolderExists(folder)) {
            EmptyFolder(folder, where);
            EXPECT_TRUE(RemoveDirectoryA(folder)) << folder;
        }
    }
    ExpectEmptyCdDrives();
}

// Checks the message of a scan that found nothing and dismisses it; returns
// the exit code the probe ends with.
DWORD ExpectNotFoundMessage(Process& probe, Where where = Where::Here()) {
    const auto trace = where.Trace();
    MessageBoxInfo box = At(where, [&] { return WaitForMessageBox(probe.Id(), kTimeoutMs); });
    Require(box.window, where, "no message box; the probe said: " + probe.Output());
    EXPECT_EQ(Appearance(kNoMedium), Appearance(box));
    // Still waiting for the user: the box answers from its loop, and the
    // process ends only after the answer.
    Settle(box.window);
    EXPECT_TRUE(probe.IsRunning());
    PostClick(box.window, IDOK);
    EXPECT_TRUE(probe.WaitForExit(kTimeoutMs));
    return probe.ExitCode();
}

// The drives a row lays out, in the order of `Scan::discs`: the fixed disk
// C: (before every CD-ROM drive), the CD-ROM drives, the fixed disk G:
// (after them).
const char kDrives[] = "CDEFG";

// One letter per drive: P the product, W the product without the game,
// F a foreign disc, B a blank disc, - nothing.
Medium Disc(char kind) {
    return kind == 'P'   ? Medium::Product()
           : kind == 'W' ? Medium::Product().WithoutGame()
           : kind == 'F' ? Medium::Foreign()
                         : Medium::Blank();
}

struct Scan {
    const char* name;
    const char* discs; // per drive of kDrives
    const char* root;  // the root found, or "": the message, then exit -1
    // When set, the disc taken out of this drive while the probe pauses
    // after finding `root`; the scan after it finds nothing.
    char ejectWhilePaused;
};

void CheckScan(const Scan& scan, Where where = Where::Here()) {
    const auto trace = where.Trace();
    for (size_t i = 0; scan.discs[i]; ++i) {
        if (scan.discs[i] == '-')
            continue;
        if (kDrives[i] == 'C')
            Disc(scan.discs[i]).Writable().WriteTo("C:\\", where);
        else
            InsertDisc(kDrives[i], Disc(scan.discs[i]), where);
    }
    if (*scan.root && !scan.ejectWhilePaused) {
        // RunProbe fails when the probe does not end: a message would stop it.
        std::string root = RunProbe("source-root", "", "", where)["root"];
        EXPECT_EQ(scan.root, root);
        // Callers append relative paths to the root directly.
        EXPECT_TRUE(FileExists(root + "The Vellmor\\Vellmor.exe"));
        EXPECT_TRUE(FileExists(root + "Languages\\English.sif"));
        return;
    }
    std::unique_ptr<void, decltype(&CloseHandle)> resume(
        CreateEventA(nullptr, TRUE, FALSE, kProbeContinueEvent), CloseHandle);
    Require(resume != nullptr, where, "cannot make the probe's event");
    Process probe =
        StartProbe(scan.ejectWhilePaused ? "source-root pause source-root" : "source-root", where);
    if (scan.ejectWhilePaused) {
        Require(probe.WaitForOutput("paused=1", kTimeoutMs, where), where,
                "the probe did not pause: " + probe.Output());
        EXPECT_EQ(scan.root, ParseAnswers(probe.Output())["root"]);
        EjectDisc(scan.ejectWhilePaused, where);
        SetEvent(resume.get());
    }
    EXPECT_EQ(0xFFFFFFFFu, ExpectNotFoundMessage(probe));
    if (!scan.ejectWhilePaused) {
        EXPECT_EQ("", ParseAnswers(probe.Output())["root"])
            << "the scan returned after the message";
    }
}

} // namespace

TEST(SourceMedium, ScanFindsTheFirstCdRomDriveHoldingTheGame) {
    const Scan scans[] = {
        {"TheFirstOfTwoProductDiscsWins", "-PP--", "D:\\", 0},
        {"ForeignDiscIsPassedOverForTheProductInTheNextDrive", "-FP--", "E:\\", 0},
        {"EmptyDriveBeforeTheDiscIsSkippedSilently", "--P--", "E:\\", 0},
        {"LastDriveFoundAndRootEndsInBackslash", "---P-", "F:\\", 0},
        {"ProductFolderWithoutTheGameIsNotTheMedium", "-WP--", "E:\\", 0},
        {"FixedDisksHoldingTheGameAreNeverTaken", "P--PP", "F:\\", 0},
        {"GameOnlyOnAFixedDiskIsNotFound", "----P", "", 0},
        {"NoDiscShowsTheMessageAndEndsWithMinusOne", "-----", "", 0},
        {"OnlyDiscsWithoutTheGameAreNotFound", "-FWB-", "", 0},
        {"DiscTakenOutWhileRunningEndsTheNextScan", "--P--", "E:\\", 'E'},
    };
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        ClearDrives();
        CheckScan(scan);
    }
}

TEST(SourceMedium, DrivesOfThePrefixHaveTheirTypes) {
    ExpectEmptyCdDrives(); // a new test's drives hold no disc
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
