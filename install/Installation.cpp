// The installation: copies the product from the medium and sets it up.

#include "install/Installation.h"

#include <shellapi.h>
#include <string.h>

#include <memory>

#include "common/HeldTree.h"
#include "common/Names.h"
#include "common/ProductFiles.h"
#include "common/Shortcut.h"
#include "install/CopyChecks.h"
#include "install/DesktopShell.h"
#include "install/FolderPermissions.h"
#include "install/InstallPaths.h"
#include "install/SourceMedium.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"
#include "platform/ThisProgram.h"
#include "platform/WholeFile.h"
#include "platform/WorkingDirectory.h"
#include "record/InstalledGame.h"
#include "record/UninstallRecordWriter.h"
#include "record/UninstallerHome.h"
#include "text/SetupPair.h"

const InstallMessage kNoMedium = {kText<TXT_NO_MEDIUM>, kText<TXT_NO_MEDIUM_CAPTION>,
                                  MB_ICONEXCLAMATION | MB_OK};

namespace {

const InstallMessage kRootFailed = {kText<TXT_ROOT_FAILED>, kText<TXT_ERROR_CAPTION>, MB_ICONHAND};
const InstallMessage kSourceFailed = {kText<TXT_SOURCE_FAILED>, kText<TXT_SOURCE_FAILED_CAPTION>,
                                      MB_ICONHAND};
const InstallMessage kCancelled = {kText<TXT_CANCELLED>, kText<TXT_CANCELLED_CAPTION>, MB_OK};
const InstallMessage kCopyFailed = {kText<TXT_COPY_FAILED>, kText<TXT_COPY_FAILED_CAPTION>, MB_OK};
const InstallMessage kVersionFailed = {kText<TXT_VERSION_FAILED>, {kNoText, nullptr}, MB_OK};
const InstallMessage kShortcutFailed = {kText<TXT_SHORTCUT_FAILED>,
                                        kText<TXT_SHORTCUT_FAILED_CAPTION>, MB_OK};
const InstallMessage kPathTooLong = {kText<TXT_PATH_TOO_LONG>, kText<TXT_ERROR_CAPTION>,
                                     MB_ICONHAND};
const InstallMessage kMenuPathTooLong = {kText<TXT_MENU_PATH_TOO_LONG>, kText<TXT_ERROR_CAPTION>,
                                         MB_ICONHAND};
const InstallMessage kPathRelative = {kText<TXT_PATH_RELATIVE>, kText<TXT_ERROR_CAPTION>,
                                      MB_ICONHAND};
// Only the log says it: the user has just declined the question.
const InstallMessage kNoSpace = {
    {kNoText, "There is not enough free space on the destination drive."},
    kText<TXT_NO_ROOM_CAPTION>,
    MB_OK};
const InstallMessage kLanguageFailed = {kText<TXT_LANGUAGE_FAILED>,
                                        kText<TXT_LANGUAGE_FAILED_CAPTION>, MB_OK};
const InstallMessage kRegistryFailed = {kText<TXT_REGISTRY_FAILED>,
                                        kText<TXT_REGISTRY_FAILED_CAPTION>, MB_OK};
const InstallMessage kRendererFailed = {kText<TXT_RENDERER_FAILED>,
                                        kText<TXT_RENDERER_FAILED_CAPTION>, MB_OK};
const InstallMessage kUninstallerFailed = {kText<TXT_UNINSTALLER_FAILED>,
                                           kText<TXT_UNINSTALLER_FAILED_CAPTION>, MB_OK};

// The version record: its length (13), 1, 0 and a zero byte, little-endian.
const BYTE kVersionRecord[13] = {0x0D, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};

static_assert(text::kPathBufferSize == MAX_PATH, "path buffers are MAX_PATH bytes");

// The version the uninstall entry shows: the version record's two numbers.
void FormatVersion(char (&version)[24]) {
    auto number = [](const BYTE* at) {
        return (unsigned long)at[0] | (unsigned long)at[1] << 8 | (unsigned long)at[2] << 16 |
               (unsigned long)at[3] << 24;
    };
    FormatPath(version, "%lu.%lu", number(kVersionRecord + 4), number(kVersionRecord + 8));
}

// Makes the install root (one level), or finds it there already.
bool CreateInstallRoot(const char* root) {
    // An existing folder will do, whatever error the system gives for it (a
    // drive root may answer "access denied"); a file of that name will not.
    return CreateDirectoryA(root, nullptr) || FolderExists(root);
}

bool WriteVersionFile(const char* path) {
    return WriteWholeFile(path, kVersionRecord, sizeof kVersionRecord);
}

typedef DWORD(WINAPI* SetNamedSecurityInfoAProc)(LPSTR name, int type, DWORD what, PSID owner,
                                                 PSID group, PACL dacl, PACL sacl);

// Windows 2000 and later protect a DACL from inheritance, and take the
// protection off again; Windows 95, 98 and NT 4 (major version 4) do not.
// Wine keeps no DACL: it turns one into the folder's Unix mode (ours would
// make it read-only for the player), and an unprotected empty one does not
// give that back.
bool ProtectsDacls() {
    return LOBYTE(LOWORD(GetVersion())) >= 5 &&
           !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
}

// Gives `folder` the DACL `acl` with `inheritance`, the flag that protects it
// from what the folder above gives or opens it to that.
void SetFolderDacl(const char* folder, DWORD inheritance, const unsigned char* acl) {
    auto set = LibraryProc<SetNamedSecurityInfoAProc>(GetModuleHandleA("advapi32.dll"),
                                                      "SetNamedSecurityInfoA");
    if (ProtectsDacls() && set)
        set(const_cast<char*>(folder), 1 /* SE_FILE_OBJECT */,
            DACL_SECURITY_INFORMATION | inheritance, nullptr, nullptr, (PACL)acl, nullptr);
}

// Copies a file of the medium over whatever the installation holds there.
// An earlier installation that ended early left its copies read-only, and a
// read-only file cannot be replaced.
bool ReplaceFile(const char* source, const char* destination) {
    ClearReadOnly(destination);
    return CopyFileA(source, destination, FALSE) != FALSE;
}

// `path`, one of the installation's paths, as the record lists it: the
// part below the installation folder.
const char* BelowInstallDir(const InstallPaths& paths, const char* path) {
    return path + strlen(paths.installDir) + 1;
}

// One run of the installation's steps over a request.
class Installation {
  public:
    Installation(const InstallRequest& request, InstallReport& report)
        : m_request(request), m_report(report) {}

    SetupExit Run(const char* sourceRoot);
    void ProtectFolder(bool existed);
    // Once the run has ended, whichever way: the installation folder gets
    // back exactly what it inherits (no entries of its own, unprotected),
    // so that the player may write saves there again.
    void RestorePermissions() {
        if (m_protected)
            SetFolderDacl(m_paths.installDir, UNPROTECTED_DACL_SECURITY_INFORMATION, kNoEntries);
    }
    const char* InstallDir() const { return m_paths.installDir; }

  private:
    bool Step(const char* step, bool ok, const InstallMessage& failure);
    bool Fail(const char* step, const InstallMessage& failure, DWORD error = GetLastError());
    bool BuildPaths();
    bool NoLinkOnTheWay(bool below);
    bool SpaceForCopy();
    bool CopyProductFolder();
    void RemoveUnfinishedCopy();
    SetupExit CopyFromMedium(const char* sourceRoot);
    bool CreateMenuShortcuts();
    bool CopyLanguageFiles();
    bool SettleRendererLibrary();
    bool SetUpUninstaller();
    SetupExit FinishSteps(CWorkingDirectory& workingDirectory);

    const InstallRequest& m_request;
    InstallReport& m_report;
    InstallPaths m_paths;
    ProductFiles m_files;
    // The way to the installation folder, held from before anything is
    // written until the run ends, and the folder itself once it exists.
    CHeldTree m_tree;
    UninstallRecordWriter m_record;
    PathBuffer m_home;         // of the uninstaller and its record; empty: none to be had
    bool m_madeFolder = false; // the installation folder, before the copy
    bool m_protected = false;  // the installation folder's DACL is setup's own
};

// Logs a step's result; a failure is also told.
bool Installation::Step(const char* step, bool ok, const InstallMessage& failure) {
    if (ok)
        m_report.StepRan(step, nullptr, 0);
    else
        Fail(step, failure);
    return ok;
}

bool Installation::Fail(const char* step, const InstallMessage& failure, DWORD error) {
    m_report.StepRan(step, &failure, error);
    m_report.Tell(failure);
    return false;
}

bool Installation::BuildPaths() {
    RootRule rule = DeriveInstallRoot(m_request.typedFolder, m_paths.installRoot);
    // The rules refuse these, not the system: no error code.
    if (rule == RootRule::Relative)
        return Fail("destination", kPathRelative, 0);
    if (rule == RootRule::TooLong || !BuildInstalledPaths(m_paths))
        return Fail("destination", kPathTooLong, 0);
    // An item list without a file-system path leaves the folder empty.
    char programsFolder[MAX_PATH] = "";
    m_paths.haveMenu =
        ProgramsFolderFor(m_request.owner, programsFolder) && programsFolder[0] != '\0';
    if (m_paths.haveMenu && !BuildMenuPaths(m_paths, programsFolder))
        return Fail("destination", kMenuPathTooLong, 0);
    m_report.StepRan("destination", nullptr, 0);
    return true;
}

// No folder on the way to the installation folder, nor (`below`) anything
// below an existing one, may be a link, as a link would steer the writes
// elsewhere: checked before anything is written, and again for the folders
// the run has made. The existing folders of the way stay held as they are.
bool Installation::NoLinkOnTheWay(bool below) {
    PathBuffer link;
    WayVerdict way = m_tree.HoldWay(link);
    if (way == WayVerdict::Held && !(below && FindLinkBelow(m_paths.installDir, link))) {
        m_report.StepRan("way to the folder", nullptr, 0);
        return true;
    }
    // A folder that cannot be held could be swapped for a link meanwhile.
    m_report.RefuseLink(way == WayVerdict::NotHeld ? kFolderNotHeld : kLinkRefused, link);
    return false;
}

// Before anything is created: when the drive lacks space for what the copy
// adds, the user decides (the estimate may be wrong: compression, quotas).
bool Installation::SpaceForCopy() {
    uint64_t needed = BytesToWrite(m_files, m_paths.installDir);
    unsigned long long available = 0;
    bool space = !FreeBytesFor(m_paths.installDir, available) || available >= needed ||
                 m_report.GoOnWithoutSpace(needed, available);
    if (space)
        m_report.StepRan("room", nullptr, 0);
    else
        m_report.StepRan("room", &kNoSpace, 0);
    return space;
}

// The shell copies the product folder (relative to the medium's root, the
// working directory) with its progress window and its own questions; with
// no window to own them, without any.
bool Installation::CopyProductFolder() {
    char source[sizeof kProductFolder + 1];
    memcpy(source, kProductFolder, sizeof kProductFolder);
    source[sizeof kProductFolder] = '\0';

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_request.owner;
    operation.wFunc = FO_COPY;
    operation.pFrom = source;
    operation.pTo = m_paths.copyDestination;
    // The empty folder made for the copy is no folder to ask about.
    operation.fFlags = FOF_SIMPLEPROGRESS | (m_madeFolder ? FOF_NOCONFIRMATION : 0);
    if (!m_request.owner)
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    operation.lpszProgressTitle = m_request.copyTitle;
    int result = SHFileOperationA(&operation);
    // The user's refusal sets the aborted flag; shells since Vista, and
    // Wine's, also answer it with a non-zero result (ERROR_CANCELLED).
    if (operation.fAnyOperationsAborted)
        return Fail("copy", kCancelled);
    // A full drive can end the copy with a file cut short and no error.
    if (result != 0 || !CopiedInFull(m_files, m_paths.installDir))
        return Fail("copy", kCopyFailed, result);
    m_report.StepRan("copy", nullptr, 0);
    return true;
}

// Removes what the medium's listing names of a copy that did not finish:
// its files, then its folders when empty, deepest first (the listing has
// each folder before what it holds), never through a link, and nothing
// else that may be there.
void Installation::RemoveUnfinishedCopy() {
    CHeldTree& tree = m_tree;
    for (size_t i = m_files.Count(); i-- > 0;) {
        PathBuffer path;
        if (!PathInFolder(path, m_paths.installDir, m_files.Path(i)))
            continue;
        if (m_files.IsFolder(i))
            tree.RemoveFolder(path);
        else
            tree.DeleteFile(path);
    }
    tree.RemoveFolder(m_paths.installDir);
}

// While setup writes into the installation folder, only administrators
// and SYSTEM may change it: the folder (made here when missing) gets a
// protected DACL of setup's own, and when the run ends, whichever way, back
// exactly what it would inherit (RestorePermissions).
void Installation::ProtectFolder(bool existed) {
    if (!existed)
        m_madeFolder = CreateDirectoryA(m_paths.installDir, nullptr) != FALSE;
    SetFolderDacl(m_paths.installDir, PROTECTED_DACL_SECURITY_INFORMATION, kInstallingDacl);
    m_protected = true;
}

// Makes the install root, makes the medium's root the working directory and
// copies; nothing of it is left behind when it does not finish, and what
// was there before this Install is never touched.
SetupExit Installation::CopyFromMedium(const char* sourceRoot) {
    bool rootExisted = FolderExists(m_paths.installRoot);
    bool productExisted = FolderExists(m_paths.installDir);
    if (!Step("root folder", CreateInstallRoot(m_paths.installRoot), kRootFailed))
        return kExitPathRefused;
    if (!NoLinkOnTheWay(false))
        return kExitLinkRefused;
    ProtectFolder(productExisted);
    SetupExit result = kExitCopyFailed;
    if (!SetCurrentDirectoryA(sourceRoot))
        Fail("source folder", kSourceFailed);
    else if (CopyProductFolder())
        result = NoLinkOnTheWay(false) ? kExitInstalled : kExitLinkRefused;
    // The folder made for the copy goes too when the copy never started.
    if (result == kExitCopyFailed && !productExisted)
        RemoveUnfinishedCopy();
    if (result != kExitInstalled && !rootExisted) {
        // The root made for this run is held with the way: let it go, and
        // remove it when it is empty.
        m_tree.SetBase(m_paths.installDir);
        RemoveDirectoryA(m_paths.installRoot);
    }
    return result;
}

bool Installation::CreateMenuShortcuts() {
    if (!m_paths.haveMenu)
        return false;
    CreateDirectoryA(m_paths.menuFolder, nullptr);
    return CreateShortcut(m_paths.setupTarget, m_paths.setupLink, kSetupLinkDescription,
                          m_paths.installDir) >= 0 &&
           CreateShortcut(m_paths.gameTarget, m_paths.gameLink, kProductFolder,
                          m_paths.installDir) >= 0;
}

bool Installation::CopyLanguageFiles() {
    // A medium without language files offers English alone, and the
    // installation then has no language files either.
    if (strcmp(m_request.language, kDefaultLanguage) == 0 && !MediumHasLanguages())
        return true;
    if (!BuildLanguageSources(m_paths, m_request.language))
        return false;
    // Each file of the pair is copied whatever became of the other.
    bool pool = ReplaceFile(m_paths.languagePoolSource, m_paths.languagePool);
    if (pool)
        m_record.Add(RecordEntryKind::File, BelowInstallDir(m_paths, m_paths.languagePool));
    bool index = ReplaceFile(m_paths.languageIndexSource, m_paths.languageIndex);
    if (index)
        m_record.Add(RecordEntryKind::File, BelowInstallDir(m_paths, m_paths.languageIndex));
    return pool && index;
}

// Without a Glide driver on the machine the game needs the medium's Glide
// library, and the Glide setup helper has no use.
bool Installation::SettleRendererLibrary() {
    if (m_request.glideDriverPresent)
        return true;
    bool copied = ReplaceFile(m_paths.glideSource, m_paths.glideLibrary);
    if (copied)
        m_record.Add(RecordEntryKind::File, kGlideLibrary);
    // The helper goes whatever became of the copy; its removal may fail
    // quietly, as a helper left behind harms nothing.
    m_tree.DeleteFile(m_paths.setupGlide);
    return copied;
}

// Copies setup's own texts of `language` from the medium into the
// uninstaller's folder as "setup.sif" and "setup.poo", where the uninstaller
// reads every text it shows from. A medium without them (made before setup
// had texts of its own) leaves the uninstaller in English.
bool CopySetupTextsTo(const char* home, const char* language) {
    const char* const extensions[] = {kIndexExtension, kPoolExtension};
    for (const char* extension : extensions) {
        PathBuffer source, target;
        if (!FormatPath(source, "%s\\%s\\%s%s", kLanguagesFolder, text::kSetupPairFolder, language,
                        extension) ||
            !FormatPath(target, "%s\\%s%s", home, kSetupTexts, extension))
            return false;
        if (extension == kIndexExtension && GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES)
            return true;
        if (!ReplaceFile(source, target))
            return false;
    }
    return true;
}

// Setup's own program becomes the installation's uninstaller, in a folder
// of its own below Program Files with the record of everything setup made
// and the chosen language's texts, and Apps & features lists it.
bool Installation::SetUpUninstaller() {
    PathBuffer self, uninstaller, uninstallers;
    if (!m_home[0] || !ThisProgramPath(self) || !UninstallersFolder(uninstallers))
        return false;
    CreateDirectoryA(uninstallers, nullptr);
    CreateDirectoryA(m_home, nullptr);
    bool language = CopySetupTextsTo(m_home, m_request.language);
    unsigned long long bytes = 0;
    for (size_t i = 0; i < m_files.Count(); ++i)
        bytes += m_files.Size(i);
    char version[24];
    FormatVersion(version);
    bool copied =
        PathInFolder(uninstaller, m_home, kUninstallExe) && ReplaceFile(self, uninstaller);
    // Copies from the medium are read-only, which would keep the
    // uninstaller from removing them.
    ClearReadOnlyBelow(m_home);
    return copied && language && m_record.Commit() &&
           RecordUninstallEntry(m_paths.installDir, m_home, version,
                                (unsigned long)(bytes / 1024 + 1));
}

// The steps after the shortcuts do not depend on one another: each runs
// whatever the others did (a failed language copy must not leave the game's
// files read-only), and every failure is told once they have all run.
SetupExit Installation::FinishSteps(CWorkingDirectory& workingDirectory) {
    const struct {
        const char* step;
        const InstallMessage& failure;
        bool ok;
    } steps[] = {
        {"language files", kLanguageFailed, CopyLanguageFiles()},
        {"registry", kRegistryFailed, RecordInstallation(m_paths.installDir)},
        {"renderer library", kRendererFailed, SettleRendererLibrary()},
        {"uninstaller", kUninstallerFailed, SetUpUninstaller()},
    };
    // The game folder itself too (a player's earlier folder may be marked
    // so); the install root above it is the player's and keeps its own.
    ClearReadOnly(m_paths.installDir);
    m_tree.ClearReadOnlyBelow(m_paths.installDir);
    bool complete = true;
    for (const auto& s : steps) {
        // Each of these may fail in several calls: no one error code to give.
        m_report.StepRan(s.step, s.ok ? nullptr : &s.failure, 0);
        complete = complete && s.ok;
    }
    m_report.StepRan("read-only attributes", nullptr, 0);
    workingDirectory.Restore();
    for (const auto& s : steps) {
        if (!s.ok)
            m_report.Tell(s.failure);
    }
    return complete ? kExitInstalled : kExitIncomplete;
}

SetupExit Installation::Run(const char* sourceRoot) {
    // The medium is not left in use, whichever way the installation ends.
    CWorkingDirectory workingDirectory;
    if (!BuildPaths())
        return kExitPathRefused;
    m_tree.SetBase(m_paths.installDir);
    if (!NoLinkOnTheWay(true))
        return kExitLinkRefused;
    PathBuffer productSource;
    if (!FormatPath(productSource, "%s%s", sourceRoot, kProductFolder) ||
        !m_files.List(productSource)) {
        Fail("copy", kCopyFailed);
        return kExitCopyFailed;
    }
    auto retry = [](void* run, const InUseList& found) {
        Installation& self = *static_cast<Installation*>(run);
        return self.m_report.RetryWhileInUse(self.m_paths.installDir, found);
    };
    if (!NoProgramHolds(m_paths.installDir, retry, this))
        return kExitFilesInUse;
    if (!SpaceForCopy())
        return kExitNoSpace;
    SetupExit copied = CopyFromMedium(sourceRoot);
    if (copied != kExitInstalled)
        return copied;
    // What the copy made, as soon as it is known to be whole; a record that
    // cannot be kept is told with the uninstaller's step.
    if (!FindUninstallerHome(m_paths.installDir, m_home))
        m_home[0] = '\0';
    m_record.Open(m_home, m_paths.installDir, m_paths.haveMenu ? m_paths.menuFolder : nullptr);
    m_record.AddTree(m_files);
    if (!Step("version file", WriteVersionFile(m_paths.versionFile), kVersionFailed))
        return kExitIncomplete;
    m_record.Add(RecordEntryKind::File, kVersionFile);
    if (!Step("shortcuts", CreateMenuShortcuts(), kShortcutFailed))
        return kExitIncomplete;
    m_record.Add(RecordEntryKind::Menu, m_paths.menuFolder);
    return FinishSteps(workingDirectory);
}

} // namespace

SetupExit RunInstallation(const InstallRequest& request, const char* sourceRoot,
                          InstallReport& report, PathBuffer& installDir) {
    // Its paths and held folders are larger than a frame may be.
    std::unique_ptr<Installation> installation(new Installation(request, report));
    if (!installation)
        return kExitCopyFailed;
    SetupExit result = installation->Run(sourceRoot);
    installation->RestorePermissions();
    CopyPath(installDir, installation->InstallDir());
    return result;
}

void StartInstalledSetup(const char* installDir) {
    StartAsPlayer(installDir, kSetupExe);
}
