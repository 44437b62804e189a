// Setup loads code only from the system folder: a Glide driver planted
// beside a copy of Setup.exe (a disc image unpacked into a download folder)
// or in the folder it starts in never runs, and counts as absent; the one in
// the system folder is found as before. The stand-in driver logs every load
// (kGlideLoadLog), so "never ran" is seen, not assumed.

#include <gtest/gtest.h>

#include "E2e.h"
#include "res/resource.h"

using namespace e2e;

namespace {

const char kStartFolder[] = "C:\\Downloads";
const char kUnpacked[] = "C:\\Downloads\\Vellmor";

// Copies `program` into the unpacked folder, with a driver beside it and
// one in the start folder; gives the copy's path.
std::string PlantBeside(const std::string& program, const std::string& name) {
    MakeFolders(kUnpacked);
    std::string copy = JoinPath(kUnpacked, name);
    CopyOneFile(program, copy);
    CopyOneFile(GlideDll(), JoinPath(kUnpacked, "glide2x.dll"));
    CopyOneFile(GlideDll(), JoinPath(kStartFolder, "glide2x.dll"));
    return copy;
}

std::string GlideLoads() {
    return FileExists(kGlideLoadLog) ? ReadWholeFile(kGlideLoadLog) : "";
}

// Whether the setup dialog of `setup` (started in kStartFolder) shows the
// driver as present.
bool GlideBoxChecked(const std::string& setup) {
    Session session(StartIn(kStartFolder), setup);
    HWND dialog = session.WaitForDialog();
    bool checked = IsChecked(dialog, IDC_GLIDE);
    EXPECT_EQ(!checked, IsEnabled(GetDlgItem(dialog, IDC_GLIDE)));
    EXPECT_EQ(0u, session.Exit());
    return checked;
}

} // namespace

TEST(PlantedLibrary, GlideBesideSetupOrInItsStartFolderNeverRuns) {
    InsertDisc('D', Medium::Product());
    std::string setup = PlantBeside(SetupExe(), "Setup.exe");

    EXPECT_FALSE(GlideBoxChecked(setup)) << "the planted drivers count as absent";
    EXPECT_EQ("", GlideLoads());

    CopyOneFile(GlideDll(), SystemGlidePath());
    EXPECT_TRUE(GlideBoxChecked(setup)) << "the installed driver is found";
    EXPECT_EQ(SystemGlidePath() + "\r\n", GlideLoads());
}

// The rule behind it, for every library loaded by its bare name: the
// search leaves out the program's folder and the current folder.
TEST(PlantedLibrary, SearchByBareNameLooksOnlyInTheSystemFolder) {
    std::string probe = PlantBeside(ProbeExe(), "probe.exe");

    EXPECT_EQ("0", RunProbe("glide-by-name", kStartFolder, probe)["by-name"]);
    EXPECT_EQ("", GlideLoads());

    CopyOneFile(GlideDll(), SystemGlidePath());
    EXPECT_EQ("1", RunProbe("glide-by-name", kStartFolder, probe)["by-name"]);
    EXPECT_EQ(SystemGlidePath() + "\r\n", GlideLoads());
}
