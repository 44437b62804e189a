#pragma once
// Setup's side of the uninstall record: the lines of what it makes, written
// as it makes each thing, each path once (docs/uninstall.md).

#include <windows.h>

#include "install/ProductFiles.h"
#include "install/UninstallRecord.h"

class UninstallLog {
  public:
    UninstallLog() = default;
    ~UninstallLog();
    UninstallLog(const UninstallLog&) = delete;
    UninstallLog& operator=(const UninstallLog&) = delete;

    // Starts on the record in `installDir`: an earlier record that reads
    // back is kept and extended; otherwise a new one replaces it.
    bool Open(const char* installDir);
    // Lists `path` (below the installation folder; for Menu, the Start Menu
    // folder) unless the record lists it already.
    void Add(RecordEntryKind kind, const char* path);
    // Lists the copied product tree: its paths are each listed once, so they
    // are compared with the earlier record only.
    void AddTree(const ProductFiles& files);
    // Whether the record was opened and every line written.
    bool Complete() const { return m_file != INVALID_HANDLE_VALUE && m_complete; }

  private:
    void Write(RecordEntryKind kind, const char* path);
    bool Keep(const char* text, size_t length);

    PathBuffer m_installDir;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    char* m_text = nullptr; // the record so far
    size_t m_size = 0;
    size_t m_capacity = 0;
    size_t m_earlierSize = 0; // of the record before this Install
    bool m_complete = true;
};
