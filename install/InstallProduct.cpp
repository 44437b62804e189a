// The Install command: copies the product from the medium and sets it up.

#include <string.h>

#include "app/SetupDlg.h"
#include "install/PathRules.h"
#include "install/ProductFiles.h"
#include "install/RoomRules.h"
#include "install/Shortcut.h"
#include "platform/FindFile.h"
#include "platform/RegistryKey.h"
#include "platform/WaitCursor.h"
#include "platform/WorkingDirectory.h"
#include "text/TextCatalogue.h"

// The installation's own messages are fixed English texts.
struct InstallMessage {
    const char* text;
    const char* caption; // null: the application's name
    UINT style;
};
const InstallMessage kRootFailed = {"Could not create the destination root folder", "Error",
                                    MB_ICONHAND};
const InstallMessage kSourceFailed = {"Could not set source folder to current directory!",
                                      "Source Folder Error", MB_ICONHAND};
const InstallMessage kCancelled = {"Installation Cancelled.", "Cancelled", MB_OK};
const InstallMessage kVersionFailed = {"Could not create the Version file!", nullptr, MB_OK};
const InstallMessage kShortcutFailed = {"Could not create the shortcut on the Start Menu.",
                                        "Shortcut Error", MB_OK};
const InstallMessage kPathTooLong = {"The destination folder's path is too long.", "Error",
                                     MB_ICONHAND};
const InstallMessage kMenuPathTooLong = {"The Start Menu folder's path is too long.", "Error",
                                         MB_ICONHAND};
const InstallMessage kCopyFailed = {"The files could not be copied.", "Copy Error", MB_OK};
const InstallMessage kPathRelative = {
    "Please type the destination folder's full path, such as C:\\Games or "
    "\\\\Server\\Share\\Games.",
    "Error", MB_ICONHAND};
const InstallMessage kLanguageFailed = {"Could not copy the language files!",
                                        "Language Files Error", MB_OK};
const InstallMessage kRegistryFailed = {"Could not record the installation in the registry!",
                                        "Registry Error", MB_OK};
const InstallMessage kRendererFailed = {"Could not copy the Glide renderer library!",
                                        "Renderer Error", MB_OK};

namespace {

const char kCopyTitle[] = "Copying The Vellmor files...";

const char kNoRoomFormat[] = "The Vellmor needs %lu MB of free space on the destination drive, "
                             "which has only %lu MB free.\n\nInstall anyway?";
const char kNoRoomCaption[] = "Not Enough Space";

// Shown when the language table lacks the completion message or its caption.
const char kInstallDoneFallback[] = "The Vellmor has been installed.";
const char kInstallDoneCaptionFallback[] = "Installation Complete";

// The version record: its length (13), 1, 0 and a zero byte, little-endian.
const BYTE kVersionRecord[13] = {0x0D, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};

static_assert(text::kPathBufferSize == MAX_PATH, "path buffers are MAX_PATH bytes");

// Makes the install root (one level), or finds it there already.
bool CreateInstallRoot(const char* root) {
    if (CreateDirectoryA(root, nullptr))
        return true;
    // An existing folder will do, whatever error the system gives for it (a
    // drive root may answer "access denied"); a file of that name will not.
    return FolderExists(root);
}

bool WriteVersionFile(const char* path) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, kVersionRecord, sizeof kVersionRecord, &written, nullptr);
    CloseHandle(file);
    return ok && written == sizeof kVersionRecord;
}

bool RecordInstallation(const char* installDir) {
    CRegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kRegistryKey) &&
           key.WriteString(kInstallPathValue, installDir);
}

void ClearReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Copies a file of the medium over whatever the installation holds there.
// An earlier installation that ended early left its copies read-only, and a
// read-only file cannot be replaced.
bool ReplaceFile(const char* source, const char* destination) {
    ClearReadOnly(destination);
    return CopyFileA(source, destination, FALSE) != FALSE;
}

} // namespace

bool CSetupDlg::ShowInstallError(const InstallMessage& message) {
    MessageBox(message.text, message.caption, message.style);
    return false;
}

bool CSetupDlg::InstallProduct() {
    CWaitCursor wait;
    char sourceRoot[MAX_PATH];
    FindSourceRoot(sourceRoot);
    // The medium is not left in use, whichever way the installation ends.
    CWorkingDirectory workingDirectory;

    InstallPaths paths;
    RootRule rule = DeriveInstallRoot(m_strInstallPath, paths.installRoot);
    if (rule == RootRule::Relative)
        return ShowInstallError(kPathRelative);
    if (rule == RootRule::TooLong || !BuildInstalledPaths(paths))
        return ShowInstallError(kPathTooLong);
    // An item list without a file-system path leaves the folder empty.
    char programsFolder[MAX_PATH] = "";
    paths.haveMenu = GetProgramsFolder(programsFolder) && programsFolder[0] != '\0';
    if (paths.haveMenu && !BuildMenuPaths(paths, programsFolder))
        return ShowInstallError(kMenuPathTooLong);

    ProductFiles files;
    PathBuffer productSource;
    if (!FormatPath(productSource, "%s%s", sourceRoot, kProductFolder) ||
        !files.List(productSource))
        return ShowInstallError(kCopyFailed);
    if (!RoomForCopy(files, paths))
        return false;

    bool rootExisted = FolderExists(paths.installRoot);
    bool productExisted = FolderExists(paths.installDir);
    if (!CreateInstallRoot(paths.installRoot))
        return ShowInstallError(kRootFailed);
    if (!SetCurrentDirectoryA(sourceRoot))
        return ShowInstallError(kSourceFailed);
    if (!CopyProductFolder(paths.copyDestination, files, paths.installDir)) {
        // Nothing of a copy that did not finish stays behind; what was
        // there before this Install is never touched.
        if (!productExisted)
            RemoveTree(paths.installDir);
        if (!rootExisted)
            RemoveDirectoryA(paths.installRoot);
        return false;
    }
    if (!WriteVersionFile(paths.versionFile))
        return ShowInstallError(kVersionFailed);
    if (!CreateMenuShortcuts(paths))
        return ShowInstallError(kShortcutFailed);

    // The steps after the shortcuts do not depend on one another: each runs
    // whatever the others did (a failed language copy must not leave the
    // game's files read-only), and every failure is reported at the end.
    const InstallMessage* failures[3];
    size_t failed = 0;
    if (!CopyLanguageFiles(paths))
        failures[failed++] = &kLanguageFailed;
    if (!RecordInstallation(paths.installDir))
        failures[failed++] = &kRegistryFailed;
    if (!SettleRendererLibrary(paths))
        failures[failed++] = &kRendererFailed;
    ClearReadOnlyTree(paths.installDir);
    if (failed > 0) {
        workingDirectory.Restore();
        for (size_t i = 0; i < failed; ++i)
            ShowInstallError(*failures[i]);
        return false;
    }

    SetCurrentDirectoryA(paths.installDir);
    WinExec(paths.setupCommand, SW_SHOWNORMAL);
    return true;
}

// Before anything is created: when the drive lacks room for what the copy
// adds, the user decides (the estimate may be wrong: compression, quotas).
bool CSetupDlg::RoomForCopy(const ProductFiles& files, const InstallPaths& paths) {
    unsigned long long needed = BytesToWrite(files, paths.installDir);
    unsigned long long available = 0;
    if (!FreeBytesFor(paths.installDir, available) || available >= needed)
        return true;
    char question[256];
    FormatText(question, sizeof question, kNoRoomFormat, (unsigned long)MegabytesNeeded(needed),
               (unsigned long)MegabytesFree(available));
    return MessageBox(question, kNoRoomCaption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) ==
           IDYES;
}

// The shell copies the product folder (relative to the medium's root, the
// working directory) with its progress window and its own questions.
bool CSetupDlg::CopyProductFolder(const char* destination, const ProductFiles& files,
                                  const char* installDir) {
    char source[sizeof kProductFolder + 1];
    memcpy(source, kProductFolder, sizeof kProductFolder);
    source[sizeof kProductFolder] = '\0';

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_hWnd;
    operation.wFunc = FO_COPY;
    operation.pFrom = source;
    operation.pTo = destination;
    operation.fFlags = FOF_SIMPLEPROGRESS;
    operation.lpszProgressTitle = kCopyTitle;
    int result = SHFileOperationA(&operation);
    // The user's refusal sets the aborted flag; shells since Vista, and
    // Wine's, also answer it with a non-zero result (ERROR_CANCELLED).
    if (operation.fAnyOperationsAborted)
        return ShowInstallError(kCancelled);
    // A full drive can end the copy with a file cut short and no error.
    if (result != 0 || !CopiedInFull(files, installDir))
        return ShowInstallError(kCopyFailed);
    return true;
}

bool CSetupDlg::CreateMenuShortcuts(const InstallPaths& paths) {
    if (!paths.haveMenu)
        return false;
    CreateDirectoryA(paths.menuFolder, nullptr);
    return CreateShortcut(paths.setupTarget, paths.setupLink, kSetupLinkDescription,
                          paths.installDir) >= 0 &&
           CreateShortcut(paths.gameTarget, paths.gameLink, kProductFolder, paths.installDir) >= 0;
}

bool CSetupDlg::CopyLanguageFiles(InstallPaths& paths) {
    char language[MAX_PATH];
    if (!m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language))
        return false;
    // A medium without language files offers English alone, and the
    // installation then has no language files either.
    if (strcmp(language, kDefaultLanguage) == 0 && !HasLanguageFiles())
        return true;
    if (!BuildLanguageSources(paths, language))
        return false;
    // Each file of the pair is copied whatever became of the other.
    bool pool = ReplaceFile(paths.languagePoolSource, paths.languagePool);
    bool index = ReplaceFile(paths.languageIndexSource, paths.languageIndex);
    return pool && index;
}

// Without a Glide driver on the machine the game needs the medium's Glide
// library, and the Glide setup helper has no use.
bool CSetupDlg::SettleRendererLibrary(const InstallPaths& paths) {
    if (GlideBox().IsChecked())
        return true;
    bool copied = ReplaceFile(paths.glideSource, paths.glideLibrary);
    // The helper goes whatever became of the copy; its removal may fail
    // quietly, as a helper left behind harms nothing.
    ClearReadOnly(paths.setupGlide);
    DeleteFileA(paths.setupGlide);
    return copied;
}

void CSetupDlg::ClearReadOnlyTree(const char* folder) {
    char pattern[MAX_PATH];
    if (!FormatPath(pattern, "%s\\*.*", folder))
        return;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        // ".." is the folder's parent: outside the tree.
        if (strcmp(entry.Name(), "..") == 0)
            continue;
        char path[MAX_PATH];
        if (!FormatPath(path, "%s\\%s", folder, entry.Name()))
            continue;
        ClearReadOnly(path);
        if (entry.IsFolder() && !entry.IsLink() && strcmp(entry.Name(), ".") != 0)
            ClearReadOnlyTree(path);
    }
}

void CSetupDlg::OnOK() {
    UpdateData(TRUE);
    if (!InstallProduct())
        return;
    CString message = LoadText(TXT_INSTALL_DONE);
    CString caption = LoadText(TXT_INSTALL_DONE_CAPTION);
    MessageBox(TextOr(message, kInstallDoneFallback), TextOr(caption, kInstallDoneCaptionFallback),
               MB_OK);
    CDialog::OnOK();
}
