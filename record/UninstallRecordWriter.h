#pragma once
// Setup's side of the uninstall record: the lines of what it makes, kept
// as it makes each thing, each path once, and written beside the
// uninstaller in one pass once the installation's steps have run
// (docs/uninstall.md).

#include "common/ProductFiles.h"
#include "record/UninstallRecord.h"
#include "text/HeapBlock.h"

class UninstallRecordWriter {
  public:
    // Starts the record of the installation in `installDir`, whose Start
    // Menu folder is `menuFolder` (null: none), to be kept in the folder
    // `home`: an earlier record there that reads back is kept and extended;
    // otherwise a new one replaces it.
    void Open(const char* home, const char* installDir, const char* menuFolder);
    // Lists `path` (below the installation folder; for Menu, the Start Menu
    // folder) unless the record lists it already.
    void Add(RecordEntryKind kind, const char* path);
    // Lists the copied product tree: its paths are each listed once, so they
    // are compared with the earlier record only.
    void AddTree(const ProductFiles& files);
    // Writes the record into its folder; whether every line was written.
    bool Commit();

  private:
    void Write(RecordEntryKind kind, const char* path);
    bool Keep(const char* text, size_t length);

    PathBuffer m_path = ""; // of the record
    PathBuffer m_installDir = "";
    CHeapBlock<char> m_text; // the record so far
    size_t m_size = 0;
    size_t m_capacity = 0;
    size_t m_earlierSize = 0; // of the record before this Install
    bool m_complete = true;
};
