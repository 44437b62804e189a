// The Install command: copies the product from the medium and sets it up.

#include <string.h>

#include "app/SetupDlg.h"
#include "install/Shortcut.h"
#include "platform/RegistryKey.h"
#include "platform/WaitCursor.h"
#include "platform/WorkingDirectory.h"
#include "text/Format.h"
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

// Every path the installation writes, all built (and checked to fit) before
// anything is created.
struct InstallPaths {
    char installRoot[MAX_PATH];         // as derived from the text; may end in "\"
    char copyDestination[MAX_PATH + 1]; // installRoot, double-NUL terminated
    char installDir[MAX_PATH];
    char versionFile[MAX_PATH];
    char setupTarget[MAX_PATH];
    char gameTarget[MAX_PATH];
    char languagePool[MAX_PATH];
    char languageIndex[MAX_PATH];
    char glideLibrary[MAX_PATH];
    char setupGlide[MAX_PATH];
    char setupCommand[MAX_PATH + 2];
    bool haveMenu;
    char menuFolder[MAX_PATH];
    char setupLink[MAX_PATH];
    char gameLink[MAX_PATH];
};

namespace {

const char kCopyTitle[] = "Copying The Vellmor files...";
const char kVersionFile[] = "Version.ver";
const char kSetupGlide[] = "SetupGlide.dll";
const char kGlideLibrary[] = "Glide2x.dll";
const char kGlideOnMedium[] = "Glide\\Glide2x.dll";

// The version record: its length (13), 1, 0 and a zero byte, little-endian.
const BYTE kVersionRecord[13] = {0x0D, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};

// The install root from the install-path text: the trimmed text up to the
// product name when it holds it (case-sensitive), else the text as typed.
bool DeriveInstallRoot(const CString& typed, char (&root)[MAX_PATH]) {
    if (typed.GetLength() >= MAX_PATH)
        return false;
    CString trimmed(typed);
    trimmed.Trim();
    int at = trimmed.Find(kProductFolder);
    CString derived = at >= 0 ? trimmed.Left(at) : typed;
    return FormatPath(root, "%s", (const char*)derived);
}

bool BuildInstalledPaths(InstallPaths& p) {
    // The copy goes into the root as typed; everything after it names the
    // root without one trailing backslash.
    size_t rootLength = strlen(p.installRoot);
    memcpy(p.copyDestination, p.installRoot, rootLength + 1);
    p.copyDestination[rootLength + 1] = '\0';
    char root[MAX_PATH];
    memcpy(root, p.installRoot, rootLength + 1);
    if (rootLength > 0 && root[rootLength - 1] == '\\')
        root[rootLength - 1] = '\0';

    if (!FormatPath(p.installDir, "%s\\%s", root, kProductFolder))
        return false;
    const char* dir = p.installDir;
    return FormatPath(p.setupCommand, "\"%s\\%s\"", dir, kSetupExe) &&
           FormatPath(p.versionFile, "%s\\%s\\%s", root, kProductFolder, kVersionFile) &&
           FormatPath(p.setupTarget, "%s\\%s\\%s", root, kProductFolder, kSetupExe) &&
           FormatPath(p.gameTarget, "%s\\%s\\%s", root, kProductFolder, kGameExe) &&
           FormatPath(p.languagePool, "%s\\language.poo", dir) &&
           FormatPath(p.languageIndex, "%s\\language.sif", dir) &&
           FormatPath(p.glideLibrary, "%s\\%s", dir, kGlideLibrary) &&
           FormatPath(p.setupGlide, "%s\\%s", dir, kSetupGlide);
}

bool BuildMenuPaths(InstallPaths& p, const char* programsFolder) {
    return FormatPath(p.menuFolder, "%s\\%s", programsFolder, kProductFolder) &&
           FormatPath(p.setupLink, "%s\\Setup.lnk", p.menuFolder) &&
           FormatPath(p.gameLink, "%s\\%s.lnk", p.menuFolder, kProductFolder);
}

// Makes the install root (one level), or finds it there already.
bool CreateInstallRoot(const char* root) {
    if (CreateDirectoryA(root, nullptr))
        return true;
    // An existing folder will do, whatever error the system gives for it (a
    // drive root may answer "access denied"); a file of that name will not.
    DWORD attributes = GetFileAttributesA(root);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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

void RecordInstallation(const char* installDir) {
    CRegistryKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, kRegistryKey))
        key.WriteString(kInstallPathValue, installDir);
}

void ClearReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
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
    // An item list without a file-system path leaves the folder empty.
    char programsFolder[MAX_PATH] = "";
    paths.haveMenu = GetProgramsFolder(programsFolder) && programsFolder[0] != '\0';
    if (!DeriveInstallRoot(m_strInstallPath, paths.installRoot) || !BuildInstalledPaths(paths) ||
        (paths.haveMenu && !BuildMenuPaths(paths, programsFolder)))
        return ShowInstallError(kPathTooLong);

    if (!CreateInstallRoot(paths.installRoot))
        return ShowInstallError(kRootFailed);
    if (!SetCurrentDirectoryA(sourceRoot))
        return ShowInstallError(kSourceFailed);
    if (!CopyProductFolder(paths.copyDestination))
        return false;
    if (!WriteVersionFile(paths.versionFile))
        return ShowInstallError(kVersionFailed);
    if (!CreateMenuShortcuts(paths))
        return ShowInstallError(kShortcutFailed);

    CopyLanguageFiles(paths);
    RecordInstallation(paths.installDir);
    SettleRendererLibrary(paths);
    ClearReadOnlyTree(paths.installDir);

    SetCurrentDirectoryA(paths.installDir);
    WinExec(paths.setupCommand, SW_SHOWNORMAL);
    return true;
}

// The shell copies the product folder (relative to the medium's root, the
// working directory) with its progress window and its own questions.
bool CSetupDlg::CopyProductFolder(const char* destination) {
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
    return result == 0;
}

bool CSetupDlg::CreateMenuShortcuts(const InstallPaths& paths) {
    if (!paths.haveMenu)
        return false;
    CreateDirectoryA(paths.menuFolder, nullptr);
    return CreateShortcut(paths.setupTarget, paths.setupLink, "Setup", paths.installDir) >= 0 &&
           CreateShortcut(paths.gameTarget, paths.gameLink, kProductFolder, paths.installDir) >= 0;
}

void CSetupDlg::CopyLanguageFiles(const InstallPaths& paths) {
    char language[MAX_PATH];
    if (!m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language))
        return;
    char pool[MAX_PATH], index[MAX_PATH];
    if (FormatPath(pool, "Languages\\%s.poo", language))
        CopyFileA(pool, paths.languagePool, FALSE);
    if (FormatPath(index, "Languages\\%s.sif", language))
        CopyFileA(index, paths.languageIndex, FALSE);
}

// Without a Glide driver on the machine the game needs the medium's Glide
// library, and the Glide setup helper has no use.
void CSetupDlg::SettleRendererLibrary(const InstallPaths& paths) {
    if (SendDlgItemMessage(IDC_GLIDE, BM_GETCHECK) == BST_CHECKED)
        return;
    CopyFileA(kGlideOnMedium, paths.glideLibrary, FALSE);
    ClearReadOnly(paths.setupGlide);
    DeleteFileA(paths.setupGlide);
}

void CSetupDlg::ClearReadOnlyTree(const char* folder) {
    char pattern[MAX_PATH];
    if (!FormatPath(pattern, "%s\\*.*", folder))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // ".." is the folder's parent: outside the tree.
        if (strcmp(found.cFileName, "..") == 0)
            continue;
        char path[MAX_PATH];
        if (!FormatPath(path, "%s\\%s", folder, found.cFileName))
            continue;
        ClearReadOnly(path);
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (isFolder && !isLink && strcmp(found.cFileName, ".") != 0)
            ClearReadOnlyTree(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CSetupDlg::OnOK() {
    UpdateData(TRUE);
    if (!InstallProduct())
        return;
    CString message = LoadText(TXT_INSTALL_DONE);
    CString caption = LoadText(TXT_INSTALL_DONE_CAPTION);
    MessageBox(message, caption, MB_OK);
    CDialog::OnOK();
}
