// libFuzzer target: an arbitrary uninstall record, and the rest of the input
// as one entry to write. Input layout: a selector byte (bits 0-1 the Start
// Menu folder and the installation folder of the written entry, bits 2-3
// the entry's kind), then the record.
// An accepted record's plan may only name paths below its installation
// folder (an absolute "...\The Vellmor") or the given Start Menu folder and
// its two links, each once, fitting a path buffer, no name a device's,
// folders deepest first. A refused record names a line it has. The writer
// formats exactly the entries the reader accepts.

#include <ctype.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <string>

#include "record/UninstallRecord.h"

namespace {

const std::string kDirs[] = {
    "C:\\Games\\The Vellmor",
    "C:\\the vellmor",
    "\\\\server\\share\\The Vellmor",
    "C:\\" + std::string(200, 'a') + "\\The Vellmor",
};

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

size_t Depth(const std::string& path) {
    return (size_t)std::count(path.begin(), path.end(), '\\');
}

// Below `folder`: its backslash, then names that are neither empty, "." nor
// ".." and hold no ':' or '/'.
bool IsBelow(const std::string& path, const std::string& folder) {
    if (path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0 ||
        path[folder.size()] != '\\')
        return false;
    std::string names = path.substr(folder.size() + 1) + '\\';
    for (size_t at = 0, end; (end = names.find('\\', at)) != std::string::npos; at = end + 1) {
        std::string name = names.substr(at, end - at);
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of(":/") != std::string::npos)
            return false;
    }
    return true;
}

// "X:\...\The Vellmor" or "\\server\share\...\The Vellmor", any case.
bool IsMenuFolder(const std::string& path) {
    std::string last = path.substr(path.rfind('\\') + 1);
    for (char& c : last)
        c = (char)tolower((unsigned char)c);
    if (last != "the vellmor")
        return false;
    if (path.compare(0, 2, "\\\\") == 0)
        return IsBelow(path, "\\") && Depth(path) >= 4;
    return isalpha((unsigned char)path[0]) && path[1] == ':' && IsBelow(path, path.substr(0, 2));
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}

// No name of `path` is CON, PRN, AUX, NUL, COMn or LPTn (n 1-9), before an
// extension and trailing spaces, in any case.
bool HasNoDeviceName(const std::string& path) {
    std::string names = Lower(path) + '\\';
    for (size_t at = 0, end; (end = names.find('\\', at)) != std::string::npos; at = end + 1) {
        std::string base = names.substr(at, std::min(end, names.find('.', at)) - at);
        base.erase(base.find_last_not_of(' ') + 1);
        if (base == "con" || base == "prn" || base == "aux" || base == "nul")
            return false;
        if (base.size() == 4 &&
            (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
            std::string("123456789\xB9\xB2\xB3").find(base[3]) != std::string::npos)
            return false;
    }
    return true;
}

void CheckPlan(const UninstallRecord& record, const std::string& menu) {
    const std::string dir = record.installDir;
    Check(IsMenuFolder(dir) && HasNoDeviceName(dir) && record.entryCount >= 1 &&
          record.entries[0].kind == RecordEntryKind::Installation && dir == record.entries[0].path);
    std::set<std::string> menus;
    for (size_t i = 0; i < record.entryCount; ++i) {
        const RecordEntry& entry = record.entries[i];
        Check(HasNoDeviceName(entry.path));
        if (entry.kind == RecordEntryKind::Menu) {
            Check(Lower(entry.path) == Lower(menu));
            menus.insert(entry.path);
        } else if (i > 0) {
            Check(entry.kind != RecordEntryKind::Installation);
            Check(IsBelow(dir + '\\' + entry.path, dir));
        }
    }
    auto isMenuOrBelowDir = [&](const std::string& path, const std::string& suffix) {
        size_t cut = path.size() - std::min(path.size(), suffix.size());
        return IsBelow(path, dir) || (path.compare(cut, std::string::npos, suffix) == 0 &&
                                      menus.count(path.substr(0, cut)));
    };
    std::set<std::string> files(record.files, record.files + record.fileCount);
    Check(files.size() == record.fileCount);
    for (const std::string& file : files) {
        Check(file.size() < text::kPathBufferSize && (isMenuOrBelowDir(file, "\\Setup.lnk") ||
                                                      isMenuOrBelowDir(file, "\\The Vellmor.lnk")));
    }
    std::set<std::string> folders(record.folders, record.folders + record.folderCount);
    Check(folders.size() == record.folderCount && folders.count(dir));
    for (size_t i = 0; i < record.folderCount; ++i) {
        std::string folder = record.folders[i];
        Check(folder.size() < text::kPathBufferSize &&
              (folder == dir || isMenuOrBelowDir(folder, "")));
        Check(i == 0 || Depth(record.folders[i - 1]) >= Depth(folder));
    }
    for (const std::string& menu : menus)
        Check(IsMenuFolder(menu));
}

// Every recorded entry formats back into a line the record has.
void CheckEntriesWriteBack(const UninstallRecord& record, const uint8_t* data, size_t size) {
    const std::string dir = record.installDir;
    for (size_t i = 0; i < record.entryCount; ++i) {
        RecordLine line;
        const RecordEntry& entry = record.entries[i];
        Check(FormatRecordLine(line, dir.c_str(), entry.kind, entry.path));
        Check(RecordHasEntry((const char*)data, size, entry.kind, entry.path));
    }
}

// The input as one entry's path: the writer formats it exactly when the
// reader takes the line that holds it.
void CheckWriterAgreesWithReader(const std::string& dir, RecordEntryKind kind, const uint8_t* data,
                                 size_t size) {
    std::string path((const char*)data, strnlen((const char*)data, size));
    if (path.find_first_of("\r\n") != std::string::npos)
        return;
    static const char* const keywords[] = {"file", "folder", "menu"};
    const std::string head = kUninstallRecordHeader + std::string("install ") + dir + "\r\n";
    std::string record = head + keywords[(int)kind] + ' ' + path;
    RecordLine line;
    bool written = FormatRecordLine(line, dir.c_str(), kind, path.c_str());
    Check(!written || record + "\r\n" == head + std::string(line));
    CUninstallRecord read;
    RecordDamage damage;
    // A menu line is read for the Start Menu folder it names.
    const char* menu = kind == RecordEntryKind::Menu ? path.c_str() : kDirs[0].c_str();
    RecordVerdict verdict = ReadUninstallRecord(record.data(), record.size(), menu, read, &damage);
    Check(verdict == (written ? RecordVerdict::Accepted : RecordVerdict::Damaged));
    Check(!written || (read->entryCount == 2 && path == read->entries[1].path));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const std::string& dir = kDirs[data[0] & 3];
    RecordEntryKind kind = (RecordEntryKind)std::min((data[0] >> 2) & 3, 2);
    ++data;
    --size;

    CUninstallRecord record;
    RecordDamage damage;
    // The installation folders double as Start Menu folders: both are
    // absolute "...\The Vellmor".
    switch (ReadUninstallRecord((const char*)data, size, dir.c_str(), record, &damage)) {
    case RecordVerdict::Accepted:
        CheckPlan(*record, dir);
        CheckEntriesWriteBack(*record, data, size);
        break;
    case RecordVerdict::Damaged:
        Check(!record && damage.reason != nullptr && damage.line >= 1 &&
              damage.line <= 1 + (size_t)std::count(data, data + size, '\n'));
        break;
    default:
        Check(false);
    }
    CheckWriterAgreesWithReader(dir, kind, data, size);
    return 0;
}
