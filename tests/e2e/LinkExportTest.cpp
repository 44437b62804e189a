// Writes the installation's two links into the scratch folder, where
// check-links.sh reads them on Linux with lnkinfo, a reader independent of
// the shell that wrote them. Registered as a ctest test of its own with that
// check (not with the other scenarios).

#include <gtest/gtest.h>

#include "E2e.h"
#include "install/Shortcut.h"

using namespace e2e;

TEST(LinkExport, InstallationLinksForLinuxReader) {
    const std::string installDir = "C:\\Games\\The Vellmor";
    MakeFolders(installDir);
    CopyOneFile(StubExe(), installDir + "\\Setup.exe");
    CopyOneFile(StubExe(), installDir + "\\Vellmor.exe");
    std::string links = JoinPath(ScratchFolder(), "links");
    MakeFolders(links);
    EXPECT_GE(CreateShortcut((installDir + "\\Setup.exe").c_str(), (links + "\\Setup.lnk").c_str(),
                             "Setup", installDir.c_str()),
              0);
    EXPECT_GE(CreateShortcut((installDir + "\\Vellmor.exe").c_str(),
                             (links + "\\The Vellmor.lnk").c_str(), "The Vellmor",
                             installDir.c_str()),
              0);
}
