#include "record/UninstallRecord.h"

#include <stdlib.h>
#include <string.h>

#include "common/Names.h"
#include "text/CodePage.h"
#include "text/HeapBlock.h"

namespace {

const size_t kProductLength = sizeof kProductFolder - 1;
const size_t kHeaderLength = sizeof kUninstallRecordHeader - 3; // without "\r\n"
const size_t kSetupLinkLength = sizeof kSetupLink - 1;
const size_t kGameLinkLength = kProductLength + sizeof kLinkExtension - 1;

// By RecordEntryKind.
const char* const kKeywords[] = {"file", "folder", "menu", "install"};

const char* Keyword(RecordEntryKind kind) {
    return kKeywords[(int)kind];
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

bool IsProductFolder(const char* name, size_t length) {
    return length == kProductLength && IsSameText(name, kProductFolder, length);
}

// Why `name[0, length)` cannot be a name that setup made, or null. Windows
// drops a name's trailing dots and spaces: "..." and ".. " would name
// another folder than they say. The second byte of a double-byte character
// is no character of its own, whatever it looks like.
const char* CheckName(const char* name, size_t length) {
    if (length == 0)
        return "empty name";
    if ((length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.'))
        return "'.' or '..' as a name";
    if (name[length - 1] == '.' || name[length - 1] == ' ')
        return "name ending in a dot or space";
    if (name[0] == ' ')
        return "name beginning with a space";
    if (IsDeviceName(name, length))
        return "a device name";
    if (!StartsChar(name, length))
        return "broken double-byte character";
    for (const char* at = name; at < name + length; at = NextChar(at)) {
        unsigned char c = (unsigned char)*at;
        if (c == '\0')
            return "NUL byte";
        if (c < ' ')
            return "control character";
        if (c == '/')
            return "'/' in a path";
        if (memchr("<>:\"|?*", c, 7) != nullptr)
            return "character not allowed in a name";
    }
    return nullptr;
}

// Checks every name of `path[0, length)` between its backslashes.
const char* CheckNames(const char* path, size_t length) {
    const char* end = path + length;
    for (const char* name = path;; ++name) {
        const char* after = FindChar(name, (size_t)(end - name), '\\');
        if (after == nullptr)
            after = end;
        if (const char* reason = CheckName(name, (size_t)(after - name)))
            return reason;
        if (after == end)
            return nullptr;
        name = after;
    }
}

const char* CheckRelative(const char* path, size_t length, size_t dirLength) {
    if (length == 0)
        return "empty path";
    if (path[0] == '\\' || (length > 1 && path[1] == ':'))
        return "absolute path";
    if (dirLength + 1 + length >= text::kPathBufferSize)
        return "path too long";
    return CheckNames(path, length);
}

size_t CountNames(const char* names, size_t length) {
    size_t count = length > 0 ? 1 : 0;
    for (const char* at = names; at < names + length; at = NextChar(at))
        count += *at == '\\';
    return count;
}

// A folder "X:\...\The Vellmor" or "\\server\share\...\The Vellmor", with
// room for a name below it.
const char* CheckProductFolder(const char* path, size_t length) {
    if (length + 2 >= text::kPathBufferSize)
        return "path too long";
    if (memchr(path, '\0', length) != nullptr)
        return "NUL byte";
    if (!IsAbsolutePath(path))
        return "not an absolute path";
    bool network = path[0] == '\\';
    const char* names = path + (network ? 2 : 3);
    size_t namesLength = length - (size_t)(names - path);
    if (CountNames(names, namesLength) <= (network ? 2u : 0u))
        return "a drive root";
    if (const char* reason = CheckNames(names, namesLength))
        return reason;
    const char* last = FindLastChar(path, '\\') + 1;
    if (!IsProductFolder(last, (size_t)(path + length - last)))
        return "folder not named The Vellmor";
    return nullptr;
}

const char* CheckMenu(const char* path, size_t length) {
    if (length + 1 + kGameLinkLength >= text::kPathBufferSize)
        return "path too long";
    return CheckProductFolder(path, length);
}

// `path` is NUL-terminated at `length` or holds a NUL before it.
const char* CheckEntry(RecordEntryKind kind, const char* path, size_t length, size_t dirLength) {
    if (length == 0)
        return "empty path";
    if (kind == RecordEntryKind::Menu)
        return CheckMenu(path, length);
    if (kind == RecordEntryKind::Installation)
        return CheckProductFolder(path, length);
    return CheckRelative(path, length, dirLength);
}

// Where the line at `line` ends, before its CR-LF or LF, and where the next
// begins. Either line end is taken, and a last line without one.
const char* FindLineEnd(const char* line, const char* end, const char*& next) {
    const char* newline = (const char*)memchr(line, '\n', (size_t)(end - line));
    next = newline ? newline + 1 : end;
    const char* lineEnd = newline ? newline : end;
    return lineEnd > line && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
}

// The lines of `text`, which has a writable byte at its size.
struct LineReader {
    char* text;
    size_t size;
    size_t at;
    size_t number;

    // The next line, NUL-terminated in place; false at the end.
    bool Next(char*& line, size_t& length) {
        if (at >= size)
            return false;
        line = text + at;
        const char* next = nullptr;
        length = (size_t)(FindLineEnd(line, text + size, next) - line);
        line[length] = '\0';
        at = (size_t)(next - text);
        ++number;
        return true;
    }
};

bool ParseKeyword(const char* line, size_t length, RecordEntryKind& kind) {
    for (int k = 0; k < (int)(sizeof kKeywords / sizeof *kKeywords); ++k) {
        size_t keywordLength = strlen(kKeywords[k]);
        if (length > keywordLength && line[keywordLength] == ' ' &&
            memcmp(line, kKeywords[k], keywordLength) == 0) {
            kind = (RecordEntryKind)k;
            return true;
        }
        if (length == keywordLength && memcmp(line, kKeywords[k], length) == 0) {
            kind = (RecordEntryKind)k; // its path is empty
            return true;
        }
    }
    return false;
}

// What a line is checked against: the installation folder's length (from
// the second line) and the Start Menu folder setup would make now.
struct LineRules {
    size_t dirLength;
    const char* menuFolder;
};

// Why the line cannot be an entry, or null with `entry` set. The second line
// names the installation folder, and only it.
const char* ParseEntry(char* line, size_t length, size_t number, LineRules& rules,
                       RecordEntry& entry) {
    if (length == 0)
        return "empty line";
    if (!ParseKeyword(line, length, entry.kind))
        return "unknown keyword";
    if ((number == 2) != (entry.kind == RecordEntryKind::Installation))
        return number == 2 ? "no installation folder" : "a second installation folder";
    size_t keywordLength = strlen(Keyword(entry.kind));
    size_t pathLength = length > keywordLength ? length - keywordLength - 1 : 0;
    entry.path = line + length - pathLength;
    if (const char* reason = CheckEntry(entry.kind, entry.path, pathLength, rules.dirLength))
        return reason;
    if (entry.kind == RecordEntryKind::Installation)
        rules.dirLength = pathLength;
    // Another user's Start Menu, a share's or an old one's is not this
    // installation's to empty.
    if (entry.kind == RecordEntryKind::Menu &&
        (!rules.menuFolder || strlen(rules.menuFolder) != pathLength ||
         !IsSameText(entry.path, rules.menuFolder, pathLength)))
        return "not the Start Menu folder";
    return nullptr;
}

size_t CountLines(const char* data, size_t size) {
    size_t count = 1;
    for (const char* at = data; (at = (const char*)memchr(at, '\n', size - (size_t)(at - data)));
         ++at)
        ++count;
    return count;
}

// Block one: the record, its entries and its own copy of the text.
UninstallRecord* ParseRecord(const char* data, size_t size, const char* menuFolder,
                             RecordDamage& damage) {
    size_t lines = CountLines(data, size);
    size_t entriesAt = sizeof(UninstallRecord);
    size_t textAt = entriesAt + lines * sizeof(RecordEntry);
    CHeapBlock<char> block((char*)malloc(textAt + size + 1));
    if (!block)
        return nullptr;
    UninstallRecord* record = (UninstallRecord*)block.Get();
    RecordEntry* entries = (RecordEntry*)(block.Get() + entriesAt);
    memset(record, 0, sizeof *record);
    record->entries = entries;
    LineReader reader = {block.Get() + textAt, size, 0, 0};
    memcpy(reader.text, data, size);
    char* line = nullptr;
    size_t length = 0;
    damage.reason = nullptr;
    if (!reader.Next(line, length) || length != kHeaderLength ||
        memcmp(line, kUninstallRecordHeader, kHeaderLength) != 0) {
        damage.reason = "not an uninstall record of this version";
    }
    LineRules rules = {0, menuFolder};
    while (damage.reason == nullptr && reader.Next(line, length)) {
        damage.reason = ParseEntry(line, length, reader.number, rules, entries[record->entryCount]);
        ++record->entryCount;
    }
    // A record that ends after its header: the damage is at its last line.
    if (damage.reason == nullptr && record->entryCount == 0)
        damage.reason = "no installation folder";
    if (damage.reason != nullptr) {
        damage.line = reader.number > 0 ? reader.number : 1;
        return nullptr;
    }
    block.Detach();
    return record;
}

// The plan's full paths, written one after the other.
struct PathArena {
    char* at;
    char* end;

    // `folder`, or `name` below it.
    const char* Add(const char* folder, const char* name) {
        const char* path = at;
        FormatText(at, (size_t)(end - at), "%s%s%s", folder, name ? "\\" : "", name ? name : "");
        at += strlen(at) + 1;
        return path;
    }
};

int CompareNames(const void* a, const void* b) {
    return strcmp(*(const char* const*)a, *(const char* const*)b);
}

size_t Depth(const char* path) {
    return CountNames(path, strlen(path));
}

int CompareDeepestFirst(const void* a, const void* b) {
    size_t depthA = Depth(*(const char* const*)a);
    size_t depthB = Depth(*(const char* const*)b);
    if (depthA != depthB)
        return depthA > depthB ? -1 : 1;
    return CompareNames(a, b);
}

size_t SortUnique(const char** paths, size_t count, int (*compare)(const void*, const void*)) {
    qsort(paths, count, sizeof *paths, compare);
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        if (kept == 0 || strcmp(paths[kept - 1], paths[i]) != 0)
            paths[kept++] = paths[i];
    }
    return kept;
}

// Block two: the plan's arrays and their paths; `files` is its start.
bool PlanRemoval(UninstallRecord& record) {
    const char* installDir = record.entries[0].path;
    size_t dirLength = strlen(installDir);
    size_t files = 0;
    size_t folders = 1;
    size_t bytes = dirLength + 1;
    for (size_t i = 0; i < record.entryCount; ++i) {
        size_t length = strlen(record.entries[i].path);
        switch (record.entries[i].kind) {
        case RecordEntryKind::File:
            ++files;
            bytes += dirLength + length + 2;
            break;
        case RecordEntryKind::Folder:
            ++folders;
            bytes += dirLength + length + 2;
            break;
        case RecordEntryKind::Menu:
            files += 2;
            ++folders;
            bytes += 3 * (length + 2) + kSetupLinkLength + kGameLinkLength;
            break;
        case RecordEntryKind::Installation:
            break;
        }
    }
    size_t pointers = (files + folders) * sizeof(const char*);
    char* block = (char*)malloc(pointers + bytes);
    if (block == nullptr)
        return false;
    const char** fileList = (const char**)block;
    const char** folderList = fileList + files;
    PathArena arena = {block + pointers, block + pointers + bytes};
    char gameLink[kGameLinkLength + 1];
    FormatPath(gameLink, "%s%s", kProductFolder, kLinkExtension);
    files = 0;
    folders = 0;
    folderList[folders++] = arena.Add(installDir, nullptr);
    for (size_t i = 0; i < record.entryCount; ++i) {
        const RecordEntry& entry = record.entries[i];
        if (entry.kind == RecordEntryKind::Menu) {
            folderList[folders++] = arena.Add(entry.path, nullptr);
            fileList[files++] = arena.Add(entry.path, kSetupLink);
            fileList[files++] = arena.Add(entry.path, gameLink);
        } else if (entry.kind == RecordEntryKind::File) {
            fileList[files++] = arena.Add(installDir, entry.path);
        } else if (entry.kind == RecordEntryKind::Folder) {
            folderList[folders++] = arena.Add(installDir, entry.path);
        }
    }
    record.installDir = folderList[0];
    record.files = fileList;
    record.fileCount = SortUnique(fileList, files, CompareNames);
    record.folders = folderList;
    record.folderCount = SortUnique(folderList, folders, CompareDeepestFirst);
    return true;
}

} // namespace

bool FormatRecordLine(RecordLine& line, const char* installDir, RecordEntryKind kind,
                      const char* path) {
    line[0] = '\0';
    size_t length = strlen(path);
    if (CheckEntry(kind, path, length, strlen(installDir)) != nullptr)
        return false;
    return FormatPath(line, "%s %s\r\n", Keyword(kind), path);
}

bool RecordHasEntry(const char* record, size_t size, RecordEntryKind kind, const char* path) {
    const char* keyword = Keyword(kind);
    size_t keywordLength = strlen(keyword);
    size_t pathLength = strlen(path);
    size_t length = keywordLength + 1 + pathLength;
    const char* end = record + size;
    for (const char *line = record, *next; line < end; line = next) {
        const char* lineEnd = FindLineEnd(line, end, next);
        if ((size_t)(lineEnd - line) == length && memcmp(line, keyword, keywordLength) == 0 &&
            line[keywordLength] == ' ' && memcmp(line + keywordLength + 1, path, pathLength) == 0)
            return true;
    }
    return false;
}

bool IsDeviceName(const char* name, size_t length) {
    // Three letters each, then whether a digit follows.
    static const char kDevices[] = "CON\0PRN\0AUX\0NUL\0COM\1LPT\1";
    // The base name, before any extension, without the spaces Windows drops.
    const char* dot = (const char*)memchr(name, '.', length);
    size_t base = dot ? (size_t)(dot - name) : length;
    while (base > 0 && name[base - 1] == ' ')
        --base;
    for (const char* device = kDevices; *device; device += 4) {
        bool numbered = device[3] == '\1';
        // COM1 to COM9 and LPT1 to LPT9; the system also reads the
        // superscript digits of the ANSI code page (0xB9, 0xB2, 0xB3) so.
        if (base == (numbered ? 4u : 3u) && IsSameText(name, device, 3) &&
            (!numbered || (name[3] >= '1' && name[3] <= '9') ||
             memchr("\xB9\xB2\xB3", name[3], 3) != nullptr))
            return true;
    }
    return false;
}

RecordVerdict ReadUninstallRecord(const char* data, size_t size, const char* menuFolder,
                                  CUninstallRecord& record, RecordDamage* damage) {
    record.Reset();
    damage->line = 0;
    damage->reason = nullptr;
    if (size > kMaxRecordSize) {
        damage->reason = "record too large";
        return RecordVerdict::Damaged;
    }
    if (size == 0)
        data = ""; // memchr and memcpy want a pointer even for no bytes
    UninstallRecord* read = ParseRecord(data, size, menuFolder, *damage);
    if (damage->reason != nullptr)
        return RecordVerdict::Damaged;
    if (read == nullptr)
        return RecordVerdict::NoMemory;
    if (!PlanRemoval(*read)) {
        FreeUninstallRecord(read);
        return RecordVerdict::NoMemory;
    }
    record.Reset(read);
    return RecordVerdict::Accepted;
}

void FreeUninstallRecord(UninstallRecord* record) {
    if (record == nullptr)
        return;
    free((void*)record->files); // the plan's block
    free(record);
}

bool FormatRecordPath(PathBuffer& path, const char* home) {
    return PathInFolder(path, home, kUninstallRecord);
}

bool FormatUninstallerHome(PathBuffer& home, const char* uninstallers, const char* installDir,
                           unsigned attempt) {
    // FNV-1a: the same folder in another case of its letters gives the same
    // name.
    unsigned long hash = 2166136261u;
    for (const char* c = installDir; *c; ++c)
        hash = ((hash ^ (unsigned char)AsciiUpper(*c)) * 16777619u) & 0xFFFFFFFFu;
    return FormatPath(home, "%s\\%s Uninstall %08lX", uninstallers, kProductFolder,
                      (hash + attempt) & 0xFFFFFFFFu);
}

bool IsRecordOf(const char* data, size_t size, const char* installDir) {
    const size_t header = sizeof kUninstallRecordHeader - 1;
    const char* keyword = Keyword(RecordEntryKind::Installation);
    const size_t keywordLength = strlen(keyword);
    size_t dirLength = strlen(installDir);
    size_t path = header + keywordLength + 1;
    size_t end = path + dirLength;
    return size >= end && memcmp(data, kUninstallRecordHeader, header) == 0 &&
           memcmp(data + header, keyword, keywordLength) == 0 && data[path - 1] == ' ' &&
           IsSameText(data + path, installDir, dirLength) &&
           (size == end || data[end] == '\r' || data[end] == '\n');
}
