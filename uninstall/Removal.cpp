#include "uninstall/Removal.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "install/Names.h"
#include "install/Shortcut.h"
#include "platform/ProcAddress.h"
#include "platform/WholeFile.h"
#include "text/LocalText.h"
#include "uninstall/HeldTree.h"

namespace {

// WININIT.INI is a few lines; anything near this size is not read.
const size_t kLargestWininit = 1u << 20;

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Whether the Start Menu link at `link` starts a program in `installDir`:
// after another installation, the links are that one's.
bool LeadsInto(const char* link, const char* installDir) {
    char target[MAX_PATH];
    return ReadShortcutTarget(link, target) && IsSameOrBelow(target, installDir);
}

// WININIT.INI's [rename] section gets "NUL=<short path>" at its top, the
// section is made when it is missing; Windows 95 and 98 delete the file at
// their next start.
void AddToWininit(const char* path) {
    PathBuffer shortPath, wininit;
    UINT folder = GetWindowsDirectoryA(wininit, sizeof wininit);
    if (!GetShortPathNameA(path, shortPath, sizeof shortPath) || folder == 0 ||
        folder >= sizeof wininit || !FormatPath(wininit, "%s\\WININIT.INI", wininit))
        return;
    size_t size = 0;
    char* old = ReadWholeFile(wininit, kLargestWininit, size);
    char line[text::kPathBufferSize + 8];
    FormatPath(line, "NUL=%s\r\n", shortPath);
    const char kSection[] = "[rename]\r\n";
    char* section = old ? strstr(old, "[rename]") : nullptr;
    char* after = section ? strchr(section, '\n') : nullptr;
    HANDLE file = CreateFileA(wininit, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        size_t head = after ? (size_t)(after + 1 - old) : (old ? size : 0);
        if (old)
            WriteFile(file, old, (DWORD)head, &written, nullptr);
        if (!after)
            WriteFile(file, kSection, sizeof kSection - 1, &written, nullptr);
        WriteFile(file, line, (DWORD)strlen(line), &written, nullptr);
        if (old && after)
            WriteFile(file, old + head, (DWORD)(size - head), &written, nullptr);
        CloseHandle(file);
    }
    free(old);
}

} // namespace

typedef BOOL(WINAPI* MoveFileExAProc)(LPCSTR from, LPCSTR to, DWORD flags);

void DeleteAtRestart(const char* path) {
    // Looked up at run time: Windows 95 and 98 do not have the call.
    auto moveLater = KernelProc<MoveFileExAProc>("MoveFileExA");
    if (!moveLater || !moveLater(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        if (!(GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY))
            AddToWininit(path);
    }
}

bool Removal::Read(const char* home, const char* menuFolder, CLanguageTable& texts, char* why,
                   size_t whySize) {
    PathBuffer path = "";
    size_t size = 0;
    FormatPath(m_menuFolder, "%s", menuFolder ? menuFolder : "");
    char* data = FormatPath(path, "%s\\%s", home, kUninstallRecord)
                     ? ReadWholeFile(path, kMaxRecordSize, size)
                     : nullptr;
    RecordDamage damage = {0, "record too large"};
    RecordVerdict verdict = RecordVerdict::Damaged;
    if (data) {
        verdict = ReadUninstallRecord(data, size, menuFolder, &m_record, &damage);
        free(data);
    } else if (size <= kMaxRecordSize) {
        const char* inserts[] = {path};
        LookUpText(texts, kText<TXT_RECORD_MISSING>, why, whySize, inserts, 1);
        return false;
    }
    if (verdict == RecordVerdict::Accepted)
        return true;
    char line[16];
    FormatText(line, sizeof line, "%lu", (unsigned long)damage.line);
    const char* inserts[] = {line, damage.reason ? damage.reason : "no memory"};
    LookUpText(texts, kText<TXT_RECORD_DAMAGED>, why, whySize, inserts, 2);
    return false;
}

namespace {

// A recorded file of the installation folder, or a Start Menu link that
// leads into it; after another installation the links are that one's.
bool IsOurs(const char* path, const char* installDir) {
    return IsSameOrBelow(path, installDir) || LeadsInto(path, installDir);
}

} // namespace

bool Removal::Remove(PathBuffer& link) {
    const char* installDir = m_record->installDir;
    CHeldTree game(installDir);
    CHeldTree menu(m_menuFolder);
    link[0] = '\0';
    if (game.HoldWay(link) == WayVerdict::Link)
        return false;
    for (size_t i = 0; i < m_record->fileCount; ++i) {
        const char* path = m_record->files[i];
        if (Exists(path) && IsOurs(path, installDir))
            (game.Holds(path) ? game : menu).DeleteFile(path);
    }
    for (size_t i = 0; i < m_record->folderCount; ++i) {
        const char* folder = m_record->folders[i];
        (game.Holds(folder) ? game : menu).RemoveFolder(folder);
    }
    return true;
}

void Removal::ForEachStayed(void (*stayed)(const char* path, void* context), void* context) const {
    for (size_t i = 0; i < m_record->fileCount; ++i) {
        const char* path = m_record->files[i];
        if (Exists(path) && IsOurs(path, m_record->installDir))
            stayed(path, context);
    }
}

bool Removal::FilesLeft() const {
    return Exists(m_record->installDir);
}
