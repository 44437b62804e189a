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
#include "record/UninstallRecord.h"
#include "record/UninstallRecordWriter.h"
#include "record/UninstallerHome.h"
#include "text/CodePage.h"
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
const InstallMessage kEarlierInUse = {kText<TXT_EARLIER_IN_USE>, kText<TXT_ERROR_CAPTION>,
                                      MB_ICONHAND};
const InstallMessage kReplaceFailed = {kText<TXT_REPLACE_FAILED>, kText<TXT_COPY_FAILED_CAPTION>,
                                       MB_ICONHAND};

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

typedef DWORD(WINAPI* SetSecurityInfoProc)(HANDLE item, int type, DWORD what, PSID owner,
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

// Makes `folder`, with setup's own protected permissions where the system
// has them. A player without an administrator's rights cannot make
// Administrators the owner: the folder then inherits, as any of theirs.
bool CreateOwnFolder(const char* folder, bool& isProtected) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, (void*)kInstallingDescriptor, FALSE};
    isProtected = ProtectsDacls();
    if (isProtected && CreateDirectoryA(folder, &attributes))
        return true;
    if (isProtected && GetLastError() != ERROR_INVALID_OWNER)
        return false;
    isProtected = false;
    return CreateDirectoryA(folder, nullptr) != FALSE;
}

// Gives the folder open as `folder` exactly what it inherits, through that
// handle: no entries of its own, unprotected. The inheritable entries then
// reach what lies below, which is setup's alone at this point.
void GiveInheritedPermissions(HANDLE folder) {
    auto set =
        LibraryProc<SetSecurityInfoProc>(GetModuleHandleA("advapi32.dll"), "SetSecurityInfo");
    if (set)
        set(folder, 1 /* SE_FILE_OBJECT */,
            DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
            (PACL)kNoEntries, nullptr);
}

// Holds the folder `path`, which setup made, as itself: not a link,
// sharing writing (what moves into it opens it so) but not deletion.
// Windows 95 and 98 open no folders: there it is null.
HANDLE HoldOwnFolder(const char* path, DWORD access) {
    if (!CanHoldFolders())
        return nullptr;
    CFileHandle folder(CreateFileA(
        path, access | FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (folder &&
        (!GetFileInformationByHandle(folder.Get(), &info) ||
         (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
             FILE_ATTRIBUTE_DIRECTORY))
        folder.Close();
    return folder.Detach();
}

// Makes the folders on the way from `folder` (which exists) to `path`'s.
void MakeFoldersTo(const char* folder, const char* path) {
    PathBuffer way;
    CopyPath(way, path);
    const char* end = way + strlen(way);
    // By character: a double-byte character's second byte may be a backslash.
    for (const char* at = way + strlen(folder) + 1;
         (at = FindChar(at, (size_t)(end - at), '\\')) != nullptr; ++at) {
        way[at - way] = '\0';
        CreateDirectoryA(way, nullptr);
        way[at - way] = '\\';
    }
}

// Copies a file of the medium over whatever the installation holds there.
// An earlier installation that ended early left its copies read-only, and a
// read-only file cannot be replaced.
// The copy keeps the medium's read-only attribute, which it loses at once.
bool ReplaceFile(const char* source, const char* destination) {
    ClearReadOnly(destination);
    if (!CopyFileA(source, destination, FALSE))
        return false;
    ClearReadOnly(destination);
    return true;
}

// `path`, one of the installation's paths, as the record lists it: the
// part below the installation folder.
const char* BelowInstallDir(const InstallPaths& paths, const char* path) {
    return path + strlen(paths.installDir) + 1;
}

// One run of the installation's steps over a request. The steps write
// into a folder of setup's own beside the game folder, which takes the game
// folder's place only once every step has run; until then the earlier
// installation (or the empty folder that keeps its name for this run)
// stays as it was.
class Installation {
  public:
    Installation(const InstallRequest& request, InstallReport& report)
        : m_request(request), m_report(report) {}

    SetupExit Run(const char* sourceRoot);
    const char* InstallDir() const { return m_paths.installDir; }

  private:
    bool Step(const char* step, bool ok, const InstallMessage& failure);
    bool Fail(const char* step, const InstallMessage& failure, DWORD error = GetLastError());
    bool BuildPaths();
    bool NoLinkOnTheWay();
    bool EarlierFolderCanMoveAside();
    bool SpaceForCopy();
    void ListProductNames();
    bool IsProductName(const char* path, size_t below, bool folder) const;
    bool IsProducts(const char* path, size_t below, bool folder) const;
    bool OwnFolderPaths(unsigned number);
    bool MakeOwnFolder();
    bool CopyProductFolder();
    SetupExit CopyFromMedium(const char* sourceRoot);
    bool CreateMenuShortcuts();
    bool CopyLanguageFiles();
    bool SettleRendererLibrary();
    bool SetUpUninstaller();
    SetupExit FinishSteps(CWorkingDirectory& workingDirectory);
    SetupExit RunSteps(CWorkingDirectory& workingDirectory);
    bool TakePlace();
    void KeepPlayersFiles(CHeldTree& own, const char* earlier);
    void RemoveBelow(CHeldTree& own, const char* folder, bool everything);
    void RemoveOwnFolder();

    const InstallRequest& m_request;
    InstallReport& m_report;
    InstallPaths m_paths;  // the installation's, where it ends up
    InstallPaths m_staged; // the same in setup's own folder (its root)
    ProductFiles m_files;  // of the medium, sorted by path
    // What the earlier installation's record names as its own, or failing
    // that the medium's listing, with the files setup adds; sorted.
    ProductFiles m_productNames;
    // The way to the game folder, held from before anything is written
    // until the run ends, and the game folder itself, movable.
    CHeldTree m_tree;
    CFileHandle m_ownFolder;  // setup's own folder, held from its creation
    CFileHandle m_stagedGame; // the game folder in it, from the copy on
    UninstallRecordWriter m_record;
    PathBuffer m_home;             // of the uninstaller and its record; empty: none to be had
    bool m_madeGameFolder = false; // empty, to keep the name for this run
    bool m_protected = false;      // setup's own folder has setup's own DACL
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
    // Setup's own folder's paths have the same length whatever its number.
    if (rule == RootRule::TooLong || !BuildInstalledPaths(m_paths) || !OwnFolderPaths(0))
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

// No folder on the way to the game folder, nor the game folder itself, may
// be a link, as a link would steer the moves elsewhere: checked before
// anything is written, and again once the run has made the folders of the
// way. The existing folders of the way stay held as they are. What lies
// below an earlier game folder is never written: it moves whole, and its
// links as themselves.
bool Installation::NoLinkOnTheWay() {
    PathBuffer link;
    WayVerdict way = m_tree.HoldWay(link);
    if (way == WayVerdict::Held) {
        m_report.StepRan("way to the folder", nullptr, 0);
        return true;
    }
    // A folder that cannot be held could be swapped for a link meanwhile.
    m_report.RefuseLink(way == WayVerdict::NotHeld ? kFolderNotHeld : kLinkRefused, link);
    return false;
}

// Asked before anything is copied: whether the earlier game folder, when
// there is one, is held with the right to move it aside. A program that
// works in it (the game, whose current folder it is) keeps it from being
// held so.
bool Installation::EarlierFolderCanMoveAside() {
    bool can = !CanHoldFolders() || !FolderExists(m_paths.installDir) || m_tree.BaseHandle();
    return Step("earlier installation", can, kEarlierInUse);
}

// Before anything is created: the whole new copy must fit beside the
// earlier installation, which stands until the copy is complete. When the
// drive lacks space the user decides (the estimate may be wrong:
// compression, quotas).
bool Installation::SpaceForCopy() {
    uint64_t needed = BytesToWrite(m_files);
    unsigned long long available = 0;
    bool space = !FreeBytesFor(m_paths.installDir, available) || available >= needed ||
                 m_report.GoOnWithoutSpace(needed, available);
    if (space)
        m_report.StepRan("room", nullptr, 0);
    else
        m_report.StepRan("room", &kNoSpace, 0);
    return space;
}

// What of an earlier game folder is the product's: what its record lists,
// or without a record that reads back and names this folder, what the
// medium lists; and the files setup itself adds.
void Installation::ListProductNames() {
    PathBuffer home, path;
    size_t size = 0;
    CUninstallRecord record;
    RecordDamage damage;
    CHeapBlock<char> data(FindUninstallerHome(m_paths.installDir, home) &&
                                  FormatRecordPath(path, home)
                              ? ReadWholeFile(path, kMaxRecordSize, size)
                              : nullptr);
    if (data &&
        ReadUninstallRecord(data.Get(), size, m_paths.haveMenu ? m_paths.menuFolder : nullptr,
                            record, &damage) == RecordVerdict::Accepted &&
        IsSamePath(record->installDir, m_paths.installDir)) {
        for (size_t i = 0; i < record->entryCount; ++i) {
            const RecordEntry& entry = record->entries[i];
            if (entry.kind == RecordEntryKind::File || entry.kind == RecordEntryKind::Folder)
                m_productNames.Add(entry.path, 0, entry.kind == RecordEntryKind::Folder);
        }
    } else {
        for (size_t i = 0; i < m_files.Count(); ++i)
            m_productNames.Add(m_files.Path(i), 0, m_files.IsFolder(i));
    }
    const char* const added[] = {kVersionFile, kGlideLibrary, kSetupGlide,
                                 BelowInstallDir(m_paths, m_paths.languagePool),
                                 BelowInstallDir(m_paths, m_paths.languageIndex)};
    for (const char* name : added)
        m_productNames.Add(name, 0, false);
    m_productNames.SortByPath();
}

// Whether `path`, whose part below the earlier folder begins at `below`,
// is named as the product's.
bool Installation::IsProductName(const char* path, size_t below, bool folder) const {
    unsigned long long size = 0;
    bool namedFolder = false;
    return m_productNames.Find(path + below, size, namedFolder) && namedFolder == folder;
}

// Whether it is the product's: named so, and (a file) with no other name,
// which setup's copies never have.
bool Installation::IsProducts(const char* path, size_t below, bool folder) const {
    return IsProductName(path, below, folder) && (folder || LinksOf(path) == 1);
}

// The paths in setup's own folder of the number `number`, beside the game
// folder.
bool Installation::OwnFolderPaths(unsigned number) {
    PathBuffer parent;
    CopyPath(parent, m_paths.installDir);
    *strrchr(parent, '\\') = '\0';
    return FormatPath(m_staged.installRoot, kOwnFolderFormat, parent, number & 0xFFFF) &&
           BuildInstalledPaths(m_staged);
}

// Setup's own folder beside the game folder: made new (never one that is
// there already), with setup's permissions from its creation, and held.
bool Installation::MakeOwnFolder() {
    unsigned number = GetTickCount();
    bool made = false;
    for (int attempt = 0; attempt < 64 && !made; ++attempt, number += 0x9E37) {
        made = OwnFolderPaths(number) && CreateOwnFolder(m_staged.installRoot, m_protected);
        if (!made && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (made) {
        *m_ownFolder.Out() = HoldOwnFolder(m_staged.installRoot, 0);
        made = m_ownFolder || !CanHoldFolders();
    }
    return Step("own folder", made, kCopyFailed);
}

// The shell copies the product folder (relative to the medium's root, the
// working directory) into setup's own folder, where it is made new, with
// its progress window; with no window to own them, without any.
bool Installation::CopyProductFolder() {
    char source[sizeof kProductFolder + 1];
    memcpy(source, kProductFolder, sizeof kProductFolder);
    source[sizeof kProductFolder] = '\0';

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_request.owner;
    operation.wFunc = FO_COPY;
    operation.pFrom = source;
    operation.pTo = m_staged.copyDestination;
    // Nothing is there to replace, and the folder is setup's own.
    operation.fFlags = FOF_SIMPLEPROGRESS | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
    if (!m_request.owner)
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    operation.lpszProgressTitle = m_request.copyTitle;
    int result = SHFileOperationA(&operation);
    // The user's refusal sets the aborted flag; shells since Vista, and
    // Wine's, also answer it with a non-zero result (ERROR_CANCELLED).
    if (operation.fAnyOperationsAborted)
        return Fail("copy", kCancelled);
    // A full drive can end the copy with a file cut short and no error.
    if (result != 0 || !CopiedInFullAndWritable(m_files, m_staged.installDir))
        return Fail("copy", kCopyFailed, result);
    *m_stagedGame.Out() = HoldOwnFolder(m_staged.installDir, DELETE | READ_CONTROL | WRITE_DAC);
    if (!m_stagedGame && CanHoldFolders())
        return Fail("copy", kCopyFailed);
    m_report.StepRan("copy", nullptr, 0);
    return true;
}

// Makes the install root and, to keep its name for this run, an empty game
// folder where there is none; makes setup's own folder, the medium's root
// the working directory, and copies.
SetupExit Installation::CopyFromMedium(const char* sourceRoot) {
    if (!Step("root folder", CreateInstallRoot(m_paths.installRoot), kRootFailed))
        return kExitPathRefused;
    bool isProtected = false;
    m_madeGameFolder =
        !FolderExists(m_paths.installDir) && CreateOwnFolder(m_paths.installDir, isProtected);
    if (!FolderExists(m_paths.installDir)) {
        Fail("copy", kCopyFailed, 0);
        return kExitCopyFailed;
    }
    if (!NoLinkOnTheWay())
        return kExitLinkRefused;
    if (!m_tree.BaseHandle() && CanHoldFolders()) {
        Fail("copy", kCopyFailed);
        return kExitCopyFailed;
    }
    if (!MakeOwnFolder())
        return kExitCopyFailed;
    if (!SetCurrentDirectoryA(sourceRoot)) {
        Fail("source folder", kSourceFailed);
        return kExitCopyFailed;
    }
    return CopyProductFolder() ? kExitInstalled : kExitCopyFailed;
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
    bool pool = ReplaceFile(m_paths.languagePoolSource, m_staged.languagePool);
    if (pool)
        m_record.Add(RecordEntryKind::File, BelowInstallDir(m_staged, m_staged.languagePool));
    bool index = ReplaceFile(m_paths.languageIndexSource, m_staged.languageIndex);
    if (index)
        m_record.Add(RecordEntryKind::File, BelowInstallDir(m_staged, m_staged.languageIndex));
    return pool && index;
}

// Without a Glide driver on the machine the game needs the medium's Glide
// library, and the Glide setup helper has no use.
bool Installation::SettleRendererLibrary() {
    if (m_request.glideDriverPresent)
        return true;
    bool copied = ReplaceFile(m_paths.glideSource, m_staged.glideLibrary);
    if (copied)
        m_record.Add(RecordEntryKind::File, kGlideLibrary);
    // The helper goes whatever became of the copy; its removal may fail
    // quietly, as a helper left behind harms nothing. The copy is setup's
    // own, made writable when it was checked.
    DeleteFileA(m_staged.setupGlide);
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
    // The copy's and each copied file's read-only attribute went as they
    // were made.
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

// Once every step has run: the earlier game folder moves into setup's own
// folder and the new one takes its place, both through their held handles;
// then the new one gets what it inherits, the player's files of the earlier
// one move into it, and what is left of setup's folder goes.
bool Installation::TakePlace() {
    PathBuffer earlier;
    HANDLE game = m_tree.BaseHandle();
    if (!PathInFolder(earlier, m_staged.installRoot, kEarlierFolder) ||
        !MoveItem(game, m_paths.installDir, earlier))
        return Fail("taking its place", kReplaceFailed);
    if (!MoveItem(m_stagedGame.Get(), m_staged.installDir, m_paths.installDir)) {
        DWORD error = GetLastError();
        MoveItem(game, earlier, m_paths.installDir);
        return Fail("taking its place", kReplaceFailed, error);
    }
    m_tree.SetBase("");
    if (m_protected)
        GiveInheritedPermissions(m_stagedGame.Get());
    m_report.StepRan("taking its place", nullptr, 0);
    m_ownFolder.Close();
    CHeldTree own(m_staged.installRoot);
    PathBuffer link;
    if (own.HoldWay(link) == WayVerdict::Held || !CanHoldFolders()) {
        KeepPlayersFiles(own, earlier);
        RemoveBelow(own, m_staged.installRoot, false);
    }
    return true;
}

// Moves what of the earlier folder `earlier` is the player's into the new
// game folder, each by a handle of its own, a folder of the player's whole.
// One whose name the new installation has too is kept under that name and
// kPlayersSuffix, and the log names it.
void Installation::KeepPlayersFiles(CHeldTree& own, const char* earlier) {
    struct Walk {
        Installation* installation;
        CHeldTree* own;
        size_t below;
    } walk = {this, &own, strlen(earlier) + 1};
    auto keep = [](void* context, const char* path, const CFindFile& entry) {
        auto* walk = static_cast<Walk*>(context);
        Installation& self = *walk->installation;
        PathBuffer to, kept;
        if (self.IsProducts(path, walk->below, entry.IsFolder() && !entry.IsLink()) ||
            !PathInFolder(to, self.m_paths.installDir, path + walk->below))
            return true;
        bool taken = GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES;
        if (taken && (!FormatPath(kept, "%s%s", to, kPlayersSuffix) ||
                      GetFileAttributesA(kept) != INVALID_FILE_ATTRIBUTES))
            return true;
        if (taken)
            CopyPath(to, kept);
        MakeFoldersTo(self.m_paths.installDir, to);
        if (walk->own->Move(path, to) && taken)
            self.m_report.KeptAs(to);
        return true;
    };
    WalkBelow(earlier, false, keep, &walk);
}

// Removes what lies below setup's own folder, deepest first, and the folder
// itself when that leaves it empty: `everything` (a run that did not
// finish), or else the earlier folder's product files and every folder
// left empty.
void Installation::RemoveBelow(CHeldTree& own, const char* folder, bool everything) {
    ProductFiles found;
    found.List(folder, false);
    PathBuffer earlier;
    PathInFolder(earlier, folder, kEarlierFolder);
    size_t belowEarlier = strlen(earlier) + 1;
    for (size_t i = found.Count(); i-- > 0;) {
        PathBuffer path;
        if (!PathInFolder(path, folder, found.Path(i)))
            continue;
        if (found.IsFolder(i))
            own.RemoveFolder(path);
        else if (everything)
            own.DeleteFile(path);
        else if (IsSameOrBelow(path, earlier) && IsProductName(path, belowEarlier, false))
            own.DeleteFile(path, true);
    }
    own.RemoveFolder(folder);
}

// A run that ends before its copy took the game folder's place leaves
// nothing of it: setup's own folder goes, and the empty game folder it
// made.
void Installation::RemoveOwnFolder() {
    m_stagedGame.Close();
    m_ownFolder.Close();
    if (m_staged.installRoot[0] && FolderExists(m_staged.installRoot)) {
        CHeldTree own(m_staged.installRoot);
        PathBuffer link;
        if (own.HoldWay(link) == WayVerdict::Held || !CanHoldFolders())
            RemoveBelow(own, m_staged.installRoot, true);
    }
    if (m_madeGameFolder)
        m_tree.RemoveFolder(m_paths.installDir);
}

SetupExit Installation::Run(const char* sourceRoot) {
    // The medium is not left in use, whichever way the installation ends.
    CWorkingDirectory workingDirectory;
    if (!BuildPaths())
        return kExitPathRefused;
    // Asked before the game folder is held with the right to move it, which
    // shares no deletion and so keeps a search of the folder from opening it.
    auto retry = [](void* run, const InUseList& found) {
        Installation& self = *static_cast<Installation*>(run);
        return self.m_report.RetryWhileInUse(self.m_paths.installDir, found);
    };
    if (!NoProgramHolds(m_paths.installDir, retry, this))
        return kExitFilesInUse;
    m_tree.SetBase(m_paths.installDir, true);
    if (!NoLinkOnTheWay())
        return kExitLinkRefused;
    if (!EarlierFolderCanMoveAside())
        return kExitCopyFailed;
    PathBuffer productSource;
    if (!FormatPath(productSource, "%s%s", sourceRoot, kProductFolder) ||
        !m_files.List(productSource)) {
        Fail("copy", kCopyFailed);
        return kExitCopyFailed;
    }
    m_files.SortByPath();
    if (!SpaceForCopy())
        return kExitNoSpace;
    bool rootExisted = FolderExists(m_paths.installRoot);
    ListProductNames();
    m_staged.installRoot[0] = '\0';
    SetupExit result = CopyFromMedium(sourceRoot);
    if (result == kExitInstalled)
        result = RunSteps(workingDirectory);
    bool done = result == kExitInstalled || result == kExitIncomplete;
    if (done && !TakePlace())
        result = kExitCopyFailed;
    if (result != kExitInstalled && result != kExitIncomplete) {
        RemoveOwnFolder();
        if (!rootExisted) {
            // The root made for this run is held with the way: let it go,
            // and remove it when it is empty.
            m_tree.SetBase("");
            RemoveDirectoryA(m_paths.installRoot);
        }
    }
    return result;
}

// The steps after the copy, in their order, into setup's own folder.
SetupExit Installation::RunSteps(CWorkingDirectory& workingDirectory) {
    // What the copy made, as soon as it is known to be whole; a record that
    // cannot be kept is told with the uninstaller's step.
    if (!FindUninstallerHome(m_paths.installDir, m_home))
        m_home[0] = '\0';
    m_record.Open(m_home, m_paths.installDir, m_paths.haveMenu ? m_paths.menuFolder : nullptr);
    m_record.AddTree(m_files);
    if (!Step("version file", WriteVersionFile(m_staged.versionFile), kVersionFailed))
        return kExitCopyFailed;
    m_record.Add(RecordEntryKind::File, kVersionFile);
    if (!Step("shortcuts", CreateMenuShortcuts(), kShortcutFailed))
        return kExitCopyFailed;
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
    CopyPath(installDir, installation->InstallDir());
    return result;
}

void StartInstalledSetup(const char* installDir) {
    StartAsPlayer(installDir, kSetupExe);
}
