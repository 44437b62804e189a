#include "install/Uninstaller.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "install/Names.h"
#include "install/ProductFiles.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"
#include "text/LocalText.h"

namespace {

bool IsLink(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool SamePath(const char* a, const char* b) {
    return b && _stricmp(a, b) == 0;
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
    char* old = ReadWholeFile(wininit, size);
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
    if (!moveLater || !moveLater(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        AddToWininit(path);
}

bool Removal::Read(const char* installDir, CLanguageTable& texts, char* why, size_t whySize) {
    PathBuffer path = "";
    size_t size = 0;
    char* data = FormatPath(m_installDir, "%s", installDir) &&
                         FormatPath(path, "%s\\%s", installDir, kUninstallRecord)
                     ? ReadWholeFile(path, size)
                     : nullptr;
    if (!data) {
        const char* inserts[] = {path};
        LookUpText(texts, kText<TXT_RECORD_MISSING>, why, whySize, inserts, 1);
        return false;
    }
    RecordDamage damage = {0, ""};
    RecordVerdict verdict = ReadUninstallRecord(data, size, installDir, &m_record, &damage);
    free(data);
    if (verdict == RecordVerdict::Accepted)
        return true;
    if (verdict == RecordVerdict::Damaged) {
        char line[16];
        FormatText(line, sizeof line, "%lu", (unsigned long)damage.line);
        const char* inserts[] = {line, damage.reason};
        LookUpText(texts, kText<TXT_RECORD_DAMAGED>, why, whySize, inserts, 2);
    } else {
        LookUpText(texts, kText<TXT_RECORD_FOREIGN>, why, whySize, &installDir, 1);
    }
    return false;
}

// Whether a folder on the way to `path` from the installation folder (or,
// for the Start Menu's, from the Programs folder that holds the product's
// folder) is a junction or link: removing through it would reach outside.
bool Removal::OutsideTree(const char* path) const {
    size_t dirLength = strlen(m_installDir);
    size_t stop = dirLength;
    if (_strnicmp(path, m_installDir, dirLength) != 0 || path[dirLength] != '\\') {
        // "...\Programs\The Vellmor[\link]": the Programs folder is the stop.
        const char* product = strrchr(path, '\\');
        if (product && _stricmp(product + 1, kProductFolder) != 0) {
            PathBuffer parent;
            FormatPath(parent, "%.*s", (int)(product - path), path);
            product = strrchr(parent, '\\');
            stop = product ? (size_t)(product - parent) : 0;
        } else {
            stop = product ? (size_t)(product - path) : 0;
        }
    }
    PathBuffer prefix;
    FormatPath(prefix, "%s", path);
    for (char* slash = strrchr(prefix, '\\'); slash && (size_t)(slash - prefix) > stop;
         slash = strrchr(prefix, '\\')) {
        *slash = '\0';
        if (IsLink(prefix))
            return true;
    }
    return false;
}

void Removal::Remove(const char* keep, void (*stayed)(const char* path, void* context),
                     void* context) {
    for (size_t i = 0; i < m_record->fileCount; ++i) {
        const char* path = m_record->files[i];
        if (SamePath(path, keep) || !Exists(path))
            continue;
        if (!OutsideTree(path)) {
            // A link's attributes are its target's business.
            if (!IsLink(path))
                SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path);
        }
        if (Exists(path))
            stayed(path, context);
    }
    for (size_t i = 0; i < m_record->folderCount; ++i) {
        const char* folder = m_record->folders[i];
        if (!OutsideTree(folder) && !IsLink(folder))
            RemoveDirectoryA(folder);
    }
}

bool Removal::FilesLeft(const char* keep) const {
    PathBuffer pattern;
    if (!FormatPath(pattern, "%s\\*.*", m_installDir))
        return false;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        PathBuffer path;
        if (entry.IsDots() || !FormatPath(path, "%s\\%s", m_installDir, entry.Name()))
            continue;
        if (!SamePath(path, keep))
            return true;
    }
    return false;
}
