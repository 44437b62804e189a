#include "uninstall/Removal.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "common/HeldTree.h"
#include "common/Names.h"
#include "common/Shortcut.h"
#include "platform/ProcAddress.h"
#include "platform/WholeFile.h"
#include "text/HeapBlock.h"
#include "text/LocalText.h"
#include "uninstall/WininitEdit.h"

namespace {

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Whether the Start Menu link at `link` starts a program in `installDir`:
// after another installation, the links are that one's.
bool LeadsInto(const char* link, const char* installDir) {
    char target[MAX_PATH];
    return ReadShortcutTarget(link, target) && IsSameOrBelow(target, installDir);
}

// Moves `from` to the free name `to` beside it; MoveFileA never replaces a
// file.
bool MoveAside(const char* folder, const char* from, PathBuffer& to) {
    return GetTempFileNameA(folder, "vel", 0, to) && DeleteFileA(to) && MoveFileA(from, to);
}

// Puts the whole file `edited` in place of `ini`, which `existed`. Windows
// 95 and 98 can neither replace a file in one step (MoveFileEx and
// ReplaceFile are NT's) nor rename onto one, so the old file is moved aside
// first, the new one takes its name, and the old one is deleted last: at
// every moment `ini` is the old file whole, the new one whole, or, between
// the two renames, absent with the old one whole beside it. When the new
// one cannot take the name, the old one goes back.
bool PutInPlace(const char* folder, const char* edited, const char* ini, bool existed) {
    if (!existed)
        return MoveFileA(edited, ini) != FALSE;
    PathBuffer aside;
    if (!MoveAside(folder, ini, aside))
        return false;
    if (!MoveFileA(edited, ini)) {
        MoveFileA(aside, ini);
        return false;
    }
    DeleteFileA(aside);
    return true;
}

} // namespace

bool AddDeletionToIniFile(const char* folder, const char* ini, const char* path) {
    DWORD attributes = GetFileAttributesA(ini);
    bool existed = attributes != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND;
    size_t size = 0;
    CHeapBlock<char> old(existed ? ReadWholeFile(ini, kLargestWininit, size) : nullptr);
    // A file that cannot be read whole, or is too large to be, is kept as
    // it is: it holds other programs' renames.
    if (existed && !old)
        return false;
    size_t capacity = size + kWininitGrowth;
    CHeapBlock<char> text(static_cast<char*>(malloc(capacity)));
    size_t length = text ? AddDeletionToWininit(old.Get(), size, path, text.Get(), capacity) : 0;
    PathBuffer edited;
    if (!length || !GetTempFileNameA(folder, "vel", 0, edited))
        return false;
    if (WriteWholeFile(edited, text.Get(), length) && PutInPlace(folder, edited, ini, existed))
        return true;
    DeleteFileA(edited);
    return false;
}

namespace {

// Windows 95 and 98 delete the file at their next start through
// WININIT.INI, which is edited only when it can be read whole; otherwise
// the file stays.
void AddToWininit(const char* path) {
    PathBuffer shortPath, windows, wininit;
    UINT folder = GetWindowsDirectoryA(windows, sizeof windows);
    if (GetShortPathNameA(path, shortPath, sizeof shortPath) && folder != 0 &&
        folder < sizeof windows && FormatPath(wininit, "%s\\WININIT.INI", windows))
        AddDeletionToIniFile(windows, wininit, shortPath);
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

bool Removal::Read(const char* home, const char* menuFolder, LanguageTexts& texts, char* why,
                   size_t whySize) {
    PathBuffer path = "";
    size_t size = 0;
    CopyPath(m_menuFolder, menuFolder ? menuFolder : "");
    CHeapBlock<char> data(FormatRecordPath(path, home) ? ReadWholeFile(path, kMaxRecordSize, size)
                                                       : nullptr);
    RecordDamage damage = {0, "record too large"};
    RecordVerdict verdict = RecordVerdict::Damaged;
    if (data) {
        verdict = ReadUninstallRecord(data.Get(), size, menuFolder, m_record, &damage);
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

WayVerdict Removal::Remove(PathBuffer& named) {
    const char* installDir = m_record->installDir;
    CHeldTree game(installDir);
    CHeldTree menu(m_menuFolder);
    named[0] = '\0';
    WayVerdict way = game.HoldWay(named);
    if (way != WayVerdict::Held)
        return way;
    for (size_t i = 0; i < m_record->fileCount; ++i) {
        const char* path = m_record->files[i];
        if (Exists(path) && IsOurs(path, installDir))
            (game.Holds(path) ? game : menu).DeleteFile(path);
    }
    for (size_t i = 0; i < m_record->folderCount; ++i) {
        const char* folder = m_record->folders[i];
        (game.Holds(folder) ? game : menu).RemoveFolder(folder);
    }
    return WayVerdict::Held;
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
