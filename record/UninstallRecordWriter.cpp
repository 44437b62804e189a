#include "record/UninstallRecordWriter.h"

#include <windows.h>

#include <string.h>

#include "common/Names.h"
#include "platform/WholeFile.h"

namespace {

// Whether `data` is a record of `installDir` that reads back whole.
bool Readable(const char* data, size_t size, const char* installDir, const char* menuFolder) {
    CUninstallRecord record;
    RecordDamage damage;
    return ReadUninstallRecord(data, size, menuFolder, record, &damage) ==
               RecordVerdict::Accepted &&
           IsSamePath(record->installDir, installDir);
}

} // namespace

bool UninstallRecordWriter::Keep(const char* text, size_t length) {
    if (m_size + length > m_capacity) {
        size_t capacity = (m_size + length) * 2 + 4096;
        if (!m_text.Resize(capacity))
            return false;
        m_capacity = capacity;
    }
    memcpy(m_text.Get() + m_size, text, length);
    m_size += length;
    return true;
}

void UninstallRecordWriter::Open(const char* home, const char* installDir, const char* menuFolder) {
    m_complete = CopyPath(m_installDir, installDir) && FormatRecordPath(m_path, home);
    size_t size = 0;
    CHeapBlock<char> earlier(m_complete ? ReadWholeFile(m_path, kMaxRecordSize, size) : nullptr);
    if (earlier && Readable(earlier.Get(), size, installDir, menuFolder)) {
        Keep(earlier.Get(), size);
        // A last line without its end (edited by hand) gets one.
        if (size > 0 && earlier[size - 1] != '\n')
            Keep("\r\n", 2);
    } else {
        Keep(kUninstallRecordHeader, sizeof kUninstallRecordHeader - 1);
        Write(RecordEntryKind::Installation, installDir);
    }
    m_earlierSize = m_size;
}

void UninstallRecordWriter::Write(RecordEntryKind kind, const char* path) {
    RecordLine line;
    if (!FormatRecordLine(line, m_installDir, kind, path) || !Keep(line, strlen(line)))
        m_complete = false;
}

void UninstallRecordWriter::Add(RecordEntryKind kind, const char* path) {
    if (!RecordHasEntry(m_text.Get(), m_size, kind, path))
        Write(kind, path);
}

void UninstallRecordWriter::AddTree(const ProductFiles& files) {
    for (size_t i = 0; i < files.Count(); ++i) {
        RecordEntryKind kind = files.IsFolder(i) ? RecordEntryKind::Folder : RecordEntryKind::File;
        if (!RecordHasEntry(m_text.Get(), m_earlierSize, kind, files.Path(i)))
            Write(kind, files.Path(i));
    }
}

bool UninstallRecordWriter::Commit() {
    return m_complete && WriteWholeFile(m_path, m_text.Get(), m_size);
}
