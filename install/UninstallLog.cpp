#include "install/UninstallLog.h"

#include <stdlib.h>
#include <string.h>

#include "install/Names.h"
#include "install/ProductFiles.h"

namespace {

// Whether `data` is a record of `installDir` that reads back whole.
bool Readable(const char* data, size_t size, const char* installDir) {
    UninstallRecord* record = nullptr;
    RecordDamage damage;
    bool accepted =
        ReadUninstallRecord(data, size, installDir, &record, &damage) == RecordVerdict::Accepted;
    FreeUninstallRecord(record);
    return accepted;
}

} // namespace

UninstallLog::~UninstallLog() {
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    free(m_text);
}

bool UninstallLog::Keep(const char* text, size_t length) {
    if (m_size + length > m_capacity) {
        size_t capacity = (m_size + length) * 2 + 4096;
        void* grown = realloc(m_text, capacity);
        if (!grown)
            return false;
        m_text = static_cast<char*>(grown);
        m_capacity = capacity;
    }
    memcpy(m_text + m_size, text, length);
    m_size += length;
    return true;
}

bool UninstallLog::Open(const char* installDir) {
    PathBuffer path;
    if (!FormatPath(m_installDir, "%s", installDir) ||
        !FormatPath(path, "%s\\%s", installDir, kUninstallRecord))
        return false;
    size_t size = 0;
    char* earlier = ReadWholeFile(path, size);
    bool extend = earlier && Readable(earlier, size, installDir);
    if (extend) {
        Keep(earlier, size);
        // A last line without its end (edited by hand) gets one.
        if (size > 0 && earlier[size - 1] != '\n')
            Keep("\r\n", 2);
    }
    free(earlier);
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    m_file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    if (!extend)
        Keep(kUninstallRecordHeader, sizeof kUninstallRecordHeader - 1);
    DWORD written = 0;
    m_complete = WriteFile(m_file, m_text, (DWORD)m_size, &written, nullptr) && written == m_size;
    m_earlierSize = m_size;
    Add(RecordEntryKind::File, kUninstallRecord);
    return m_complete;
}

void UninstallLog::Write(RecordEntryKind kind, const char* path) {
    RecordLine line;
    if (m_file == INVALID_HANDLE_VALUE || !FormatRecordLine(line, m_installDir, kind, path)) {
        m_complete = false;
        return;
    }
    size_t length = strlen(line);
    DWORD written = 0;
    if (!Keep(line, length) || !WriteFile(m_file, line, (DWORD)length, &written, nullptr) ||
        written != length)
        m_complete = false;
}

void UninstallLog::Add(RecordEntryKind kind, const char* path) {
    if (!RecordHasEntry(m_text, m_size, kind, path))
        Write(kind, path);
}

void UninstallLog::AddTree(const ProductFiles& files) {
    for (size_t i = 0; i < files.Count(); ++i) {
        RecordEntryKind kind = files.IsFolder(i) ? RecordEntryKind::Folder : RecordEntryKind::File;
        if (!RecordHasEntry(m_text, m_earlierSize, kind, files.Path(i)))
            Write(kind, files.Path(i));
    }
}
