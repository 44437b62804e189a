// The installation where its rules meet real folder names and a machine
// that refuses a step: a folder named like the product, install paths that
// depend on the current folder, and failures after the copy. The rules
// themselves are tested natively (tests/native/PathRulesTest.cpp); here the
// real Setup.exe shows what the user sees.

#include <gtest/gtest.h>

#include <string>

#include "E2e.h"
#include "app/Names.h"

using namespace e2e;

namespace {

const char kDisc = 'E';

// While it lives, the installation's registry key cannot be made: its
// parent is volatile, and a volatile key takes no lasting child. An
// installation recorded before is removed first.
class UnwritableInstallKey {
  public:
    UnwritableInstallKey() {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRegistryKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent);
        DWORD disposition = 0;
        HKEY parent = nullptr;
        LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParent, 0, nullptr, REG_OPTION_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &parent, &disposition);
        EXPECT_EQ(ERROR_SUCCESS, status);
        EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
        if (parent)
            RegCloseKey(parent);
        HKEY key = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, kRegistryKey, &key))
            << "the key can still be made";
        if (key)
            RegCloseKey(key);
    }
    ~UnwritableInstallKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent); }
    UnwritableInstallKey(const UnwritableInstallKey&) = delete;
    UnwritableInstallKey& operator=(const UnwritableInstallKey&) = delete;

  private:
    static constexpr const char* kParent = "Software\\Brightfen";
};

} // namespace

TEST(InstallRules, FolderNamedLikeTheProductIsARootOfItsOwn) {
    InsertDisc(kDisc, Medium::Product());
    const std::string root = "C:\\The Vellmor Mods";
    const std::string installDir = root + "\\The Vellmor";
    {
        Session setup;
        setup.WaitForDialog();
        setup.SetField(root);
        setup.Finish(setup.Install());
    }
    EXPECT_TRUE(FileExists(installDir + "\\" + kGameExe));
    EXPECT_FALSE(FolderExists("C:\\The Vellmor"));
    EXPECT_EQ(installDir, ReadHklmValue(kRegistryKey, kInstallPathValue).AsString());

    // The next start offers the installation; after No the field shows the
    // folder the user chose.
    Session again;
    MessageBoxInfo offer = again.NextBox();
    EXPECT_EQ("The Vellmor is already installed. Run it now?", offer.text);
    again.Answer(offer, "No");
    again.WaitForDialog();
    EXPECT_EQ(root, again.Field());
    EXPECT_EQ(0u, again.Exit());
}

TEST(InstallRules, InstallPathsThatDependOnTheCurrentFolderAreRefused) {
    InsertDisc(kDisc, Medium::Product());
    Session setup(StartIn("C:\\Start"));
    setup.WaitForDialog();
    // Leading blanks: the text names no product folder and is used as
    // typed, which no drive path begins with.
    for (const char* typed : {"Games", "C:Games", "\\Games", "  C:\\Games"})
        setup.ExpectRefusal(typed, kPathRelative);
    int entries = 0;
    ForEachEntry("C:\\Start", [&](const std::string&, bool) { ++entries; });
    EXPECT_EQ(0, entries);
    EXPECT_FALSE(FolderExists("C:\\Games"));
    EXPECT_FALSE(HklmKeyExists(kRegistryKey));
    EXPECT_EQ(0u, setup.Exit()) << "the dialog stays open";
}

// A failed step after the copy stops neither the steps that do not depend
// on it nor the others' reports: each failure has its own message once they
// have all run, the dialog stays open and the installation's Setup.exe is
// not started; the next Install, over what the failed one left, completes.
TEST(InstallRules, FailuresAfterTheCopyAreReportedAndTheNextInstallCompletes) {
    InsertDisc(kDisc, Medium::Product());
    const std::string installDir = "C:\\Games\\The Vellmor";
    const std::string pool = installDir + "\\language.poo";
    const std::string index = installDir + "\\language.sif";
    const std::string game = installDir + "\\" + kGameExe;
    Session setup;
    setup.WaitForDialog();
    setup.SetField("C:\\Games");
    // The disc lacks the language's index file (its pool is copied) and the
    // renderer library, and the machine has no Glide driver.
    InsertDisc(kDisc, Medium::Product().WithoutLanguages().WithoutGlide().WithFile(
                          "Languages\\English.poo", "pool"));
    setup.ExpectMessage(setup.Install(), kLanguageFailed);
    // Once Install's handler is done nothing more is shown: one box per
    // failed step.
    setup.ExpectFailure(setup.NextBox(), kRendererFailed);
    EXPECT_TRUE(FileExists(pool));
    EXPECT_FALSE(FileExists(index));
    EXPECT_FALSE(FileExists(installDir + "\\" + kGlideLibrary));
    EXPECT_EQ(installDir, ReadHklmValue(kRegistryKey, kInstallPathValue).AsString());
    EXPECT_FALSE(GetFileAttributesA(game.c_str()) & FILE_ATTRIBUTE_READONLY);
    // Once what setup started has ended, the log would show a start.
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty()) << "the installation's Setup.exe ran";

    // The whole disc, but no right to record the installation.
    InsertDisc(kDisc, Medium::Product());
    {
        UnwritableInstallKey unwritable;
        setup.ExpectFailure(setup.InstallOverCopy(), kRegistryFailed);
        EXPECT_TRUE(FileExists(index));
        EXPECT_TRUE(FileExists(installDir + "\\" + kGlideLibrary));
    }
    EXPECT_FALSE(HklmKeyExists(kRegistryKey));

    MessageBoxInfo done = setup.InstallOverCopy();
    EXPECT_EQ(1u, WaitForStubStarts(1).size());
    EXPECT_EQ(installDir, ReadHklmValue(kRegistryKey, kInstallPathValue).AsString());
    EXPECT_FALSE(GetFileAttributesA(index.c_str()) & FILE_ATTRIBUTE_READONLY);
    setup.Finish(done);
}
