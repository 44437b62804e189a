#pragma once
// The uninstall record: the list of what setup made, kept in the
// installation folder as kUninstallRecord, and from it the uninstaller's
// removal plan. Line-based ANSI text (docs/uninstall.md):
//   ; The Vellmor uninstall record 1
//   file <path below the installation folder>
//   folder <path below the installation folder>
//   menu <absolute path of the Start Menu folder>
// C runtime only, so that it builds and is tested natively.

#include <stddef.h>

#include "install/PathRules.h"

// A new record's first line, its line end included.
inline constexpr char kUninstallRecordHeader[] = "; The Vellmor uninstall record 1\r\n";

enum class RecordEntryKind {
    File,   // a file below the installation folder
    Folder, // a folder below the installation folder
    Menu,   // a Start Menu folder "...\The Vellmor" holding the two links
};

// One line of the record: its keyword, a space, a path, "\r\n".
enum { kRecordLineSize = text::kPathBufferSize + 16 };
typedef char RecordLine[kRecordLineSize];

// The line for an entry made below `installDir`, or for its Start Menu
// folder. False, and `line` empty, when the reader would refuse the entry:
// setup then leaves it out rather than write a record that cannot be read.
bool FormatRecordLine(RecordLine& line, const char* installDir, RecordEntryKind kind,
                      const char* path);

// Whether `record[0, size)` already has a line for the entry (byte for
// byte, either line end), so that installing again lists each path once.
bool RecordHasEntry(const char* record, size_t size, RecordEntryKind kind, const char* path);

struct RecordEntry {
    RecordEntryKind kind;
    const char* path; // as recorded
};

// A read record, and the uninstaller's plan made from it: full paths, each
// listed once (compared byte for byte).
struct UninstallRecord {
    const RecordEntry* entries; // in the record's order
    size_t entryCount;
    // The recorded files and each Start Menu folder's two links, sorted.
    const char* const* files;
    size_t fileCount;
    // The recorded folders, the Start Menu folders and the installation
    // folder, deepest first (more backslashes first), to be removed each
    // only when it is empty.
    const char* const* folders;
    size_t folderCount;
};

enum class RecordVerdict {
    Accepted,      // the record and its plan are set
    Damaged,       // the whole record is refused: `damage` says where and why
    ForeignFolder, // `installDir` is no absolute "...\The Vellmor" that fits
    NoMemory,
};

struct RecordDamage {
    size_t line;        // 1-based
    const char* reason; // short English text, static
};

// Reads the record's bytes for the installation folder `installDir`.
// Accepted: `*record` is set and freed with FreeUninstallRecord; otherwise
// it is null and nothing may be removed.
RecordVerdict ReadUninstallRecord(const char* data, size_t size, const char* installDir,
                                  UninstallRecord** record, RecordDamage* damage);

void FreeUninstallRecord(UninstallRecord* record);
