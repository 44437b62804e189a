#pragma once
// The uninstall record: the list of what setup made, kept beside the
// uninstaller as kUninstallRecord, and from it the uninstaller's removal
// plan. Line-based ANSI text (docs/uninstall.md):
//   ; The Vellmor uninstall record 1
//   install <absolute path of the installation folder>
//   file <path below the installation folder>
//   folder <path below the installation folder>
//   menu <absolute path of the Start Menu folder>
// C runtime only, so that it builds and is tested natively.

#include <stddef.h>

#include "common/PathRules.h"

// A new record's first line, its line end included.
inline constexpr char kUninstallRecordHeader[] = "; The Vellmor uninstall record 1\r\n";

// A record is refused unread above this size: no installation's comes near.
inline constexpr size_t kMaxRecordSize = 4u << 20;

enum class RecordEntryKind {
    File,         // a file below the installation folder
    Folder,       // a folder below the installation folder
    Menu,         // a Start Menu folder "...\The Vellmor" holding the two links
    Installation, // the installation folder, "...\The Vellmor": the second line
};

// One line of the record: its keyword, a space, a path, "\r\n".
enum { kRecordLineSize = text::kPathBufferSize + 16 };
typedef char RecordLine[kRecordLineSize];

// The line for an entry made below `installDir`, for its Start Menu folder
// or for `installDir` itself. False, and `line` empty, when the reader would refuse the entry:
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
    const char* installDir;     // from the record's second line
    const RecordEntry* entries; // in the record's order, the installation folder's line first
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
    Accepted, // the record and its plan are set
    Damaged,  // the whole record is refused: `damage` says where and why
    NoMemory,
};

struct RecordDamage {
    size_t line;        // 1-based; 0 for a record too large to read
    const char* reason; // short English text, static
};

void FreeUninstallRecord(UninstallRecord* record);

// The owner of a record that was read: frees it, and its plan, when it goes
// out of scope or takes another.
class CUninstallRecord {
  public:
    CUninstallRecord() = default;
    ~CUninstallRecord() { FreeUninstallRecord(m_record); }
    CUninstallRecord(const CUninstallRecord&) = delete;
    CUninstallRecord& operator=(const CUninstallRecord&) = delete;

    explicit operator bool() const { return m_record != nullptr; }
    UninstallRecord* operator->() const { return m_record; }
    UninstallRecord& operator*() const { return *m_record; }
    // Frees the record held and takes `record` instead (null: none).
    void Reset(UninstallRecord* record = nullptr) {
        FreeUninstallRecord(m_record);
        m_record = record;
    }

  private:
    UninstallRecord* m_record = nullptr;
};

// Reads the record's bytes. A `menu` line must name `menuFolder`, the Start
// Menu folder that setup would make now (null: none, and no such line is
// accepted). Accepted: `record` holds it; otherwise it holds none and
// nothing may be removed.
RecordVerdict ReadUninstallRecord(const char* data, size_t size, const char* menuFolder,
                                  CUninstallRecord& record, RecordDamage* damage);

// Whether `name[0, length)` is one of the names Windows gives its devices
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9), with or without an extension
// and in any case: such a path opens the device, not a file.
bool IsDeviceName(const char* name, size_t length);

// The record's path in the uninstaller's folder `home`; false when it does
// not fit.
bool FormatRecordPath(PathBuffer& path, const char* home);

// The folder of the uninstaller and the record of the installation in
// `installDir`, below the folder of every installation's uninstaller
// (UninstallersFolder, "<Program Files>\Brightfen"):
// "<uninstallers>\The Vellmor Uninstall XXXXXXXX", XXXXXXXX a
// hash of the installation folder's path in any case of its ASCII letters,
// moved on by `attempt` when another installation holds that folder. False
// when it does not fit.
bool FormatUninstallerHome(PathBuffer& home, const char* uninstallers, const char* installDir,
                           unsigned attempt);

// Whether `data[0, size)` begins as the record of the installation in
// `installDir` does: its header and its installation folder's line.
bool IsRecordOf(const char* data, size_t size, const char* installDir);
