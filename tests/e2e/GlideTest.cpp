// Where a Glide driver is found: only in the system folder. One planted
// beside a copy of Setup.exe (a disc image unpacked into a download folder)
// or in the folder it starts in never runs and counts as absent, as does a
// broken one. The stand-in driver logs every load (kGlideLoadLog), so "never
// ran" is seen, not assumed. One table, run in one prefix.

#include <gtest/gtest.h>

#include <functional>

#include "E2e.h"
#include "res/resource.h"

using namespace e2e;

namespace {

const char kStartFolder[] = "C:\\Downloads";
const char kUnpacked[] = "C:\\Downloads\\Vellmor";

// Copies `program` into the unpacked folder, with a driver beside it and
// one in the start folder; gives the copy's path.
std::string PlantBeside(const std::string& program, const std::string& name,
                        Where where = Where::Here()) {
    MakeFolders(kUnpacked, where);
    std::string copy = JoinPath(kUnpacked, name);
    CopyOneFile(program, copy, where);
    CopyOneFile(GlideDll(), JoinPath(kUnpacked, "glide2x.dll"), where);
    CopyOneFile(GlideDll(), JoinPath(kStartFolder, "glide2x.dll"), where);
    return copy;
}

// "1" when the probe finds the driver; it is unloaded again afterwards.
std::string ProbeGlide(Where where = Where::Here()) {
    const auto trace = where.Trace();
    ProbeAnswers answers = RunProbe("glide", "", "", where);
    EXPECT_EQ("0", answers["loaded-after"]);
    return answers["glide"];
}

// "1" when a library loads by its bare name, through the search of a probe
// copied beside planted drivers and started in kStartFolder.
std::string ProbePlantedByName(Where where = Where::Here()) {
    return RunProbe("glide-by-name", kStartFolder, PlantBeside(ProbeExe(), "probe.exe", where),
                    where)["by-name"];
}

// "1" when the setup dialog shows the driver as present: its hidden box is
// checked when the driver loads and can be changed only when it does not.
// `planted`: a copy of Setup.exe beside planted drivers, started in
// kStartFolder.
std::string SetupBox(bool planted, Where where = Where::Here()) {
    const auto trace = where.Trace();
    InsertDisc('D', Medium::Product(), where);
    Session setup(planted ? StartIn(kStartFolder, where) : StartOptions(),
                  planted ? PlantBeside(SetupExe(), "Setup.exe", where) : "", where);
    HWND dialog = setup.WaitForDialog(where);
    HWND glide = GetDlgItem(dialog, IDC_GLIDE);
    bool checked = IsChecked(dialog, IDC_GLIDE);
    EXPECT_EQ(!checked, IsEnabled(glide));
    EXPECT_FALSE(IsVisible(glide));
    EXPECT_EQ(0u, setup.Exit(where));
    return checked ? "1" : "0";
}

// Removes the drivers, the load log, the planted copies and the disc.
void Clear(Where where = Where::Here()) {
    const auto trace = where.Trace();
    for (const std::string& file : {SystemGlidePath(), std::string(kGlideLoadLog)})
        EXPECT_TRUE(!FileExists(file) || DeleteFileA(file.c_str())) << file;
    if (FolderExists(kStartFolder))
        EmptyFolder(kStartFolder);
    EjectDisc('D');
}

enum SystemDriver { kNoDriver, kDriverInstalled, kDriverBroken };

struct Case {
    const char* name;
    SystemDriver system; // what lies at SystemGlidePath()
    std::function<std::string()> present;
};

} // namespace

TEST(Glide, DriverIsFoundOnlyInTheSystemFolder) {
    const Case cases[] = {
        {"ProbeFindsTheInstalledDriverAndUnloadsIt", kDriverInstalled, [] { return ProbeGlide(); }},
        {"ProbeCountsAMissingDriverAbsent", kNoDriver, [] { return ProbeGlide(); }},
        {"ProbeCountsABrokenDriverAbsent", kDriverBroken, [] { return ProbeGlide(); }},
        // The rule behind the rest, for every library loaded by its bare
        // name: the search leaves out the program's folder and the current
        // folder.
        {"SearchByBareNameIgnoresPlantedDrivers", kNoDriver, [] { return ProbePlantedByName(); }},
        {"SearchByBareNameFindsTheInstalledDriver", kDriverInstalled,
         [] { return ProbePlantedByName(); }},
        {"SetupShowsAMissingDriverAbsent", kNoDriver, [] { return SetupBox(false); }},
        {"SetupShowsTheInstalledDriver", kDriverInstalled, [] { return SetupBox(false); }},
        {"SetupIgnoresDriversBesideItOrInItsStartFolder", kNoDriver, [] { return SetupBox(true); }},
        {"SetupBesidePlantedDriversFindsTheInstalledOne", kDriverInstalled,
         [] { return SetupBox(true); }},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        Clear();
        if (row.system == kDriverInstalled)
            CopyOneFile(GlideDll(), SystemGlidePath());
        if (row.system == kDriverBroken)
            WriteWholeFile(SystemGlidePath(), "not a library");
        EXPECT_EQ(row.system == kDriverInstalled ? "1" : "0", row.present());
        // Only the installed driver ever runs.
        EXPECT_EQ(row.system == kDriverInstalled ? SystemGlidePath() + "\r\n" : "",
                  FileExists(kGlideLoadLog) ? ReadWholeFile(kGlideLoadLog) : "");
    }
}
