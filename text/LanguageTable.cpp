#include "text/LanguageTable.h"

#include "text/Format.h"
#include "text/HeapBlock.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "text/IndexRecord.h"
#include "text/TableFile.h"

static_assert(sizeof(TextIndexEntry) == text::kRecordSize, "records are read in place");

namespace {

// Length of `s`, or kMaxBasePath + 1 when it is longer; never reads more than
// one byte past the longest accepted path.
size_t BoundedLength(const char* s) {
    size_t n = 0;
    while (n <= text::kMaxBasePath && s[n] != '\0') {
        ++n;
    }
    return n;
}

// The base path with an extension, in a kPathBufferSize buffer. Load admits only
// base paths for which this fits; the check keeps that promise local.
bool JoinExtension(char (&path)[text::kPathBufferSize], const char* basePath,
                   const char* extension) {
    return FormatPath(path, "%s%s", basePath, extension);
}

// Size of an open file in bytes, or -1. Leaves the position at the end.
long FileSize(FILE* file) {
    if (fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    return ftell(file);
}

bool IsInsideFormat(const TextIndexEntry& entry) {
    return entry.length != 0 && entry.offset <= text::kMaxOffset;
}

// The `length` bytes at `offset` in a fresh block, or none. The pool's size
// is checked first so that a record pointing past its end neither allocates
// its claimed length nor returns a half-read block.
CHeapBlock<char> ReadBlock(FILE* pool, uint32_t offset, uint32_t length) {
    long size = FileSize(pool);
    if (size < 0 || (uint64_t)offset + length > (uint64_t)size) {
        return nullptr;
    }
    if (fseek(pool, (long)offset, SEEK_SET) != 0) {
        return nullptr;
    }
    CHeapBlock<char> block((char*)malloc(length));
    if (block && fread(block.Get(), length, 1, pool) != 1) {
        block.Reset();
    }
    return block;
}

} // namespace

CLanguageTable::CLanguageTable() : m_nCount(0) {
    memset(m_szBasePath, 0, sizeof(m_szBasePath));
}

CLanguageTable::~CLanguageTable() = default;

void CLanguageTable::Clear() {
    m_pEntries.Reset();
    m_nCount = 0;
}

void CLanguageTable::Load(const char* basePath) {
    Clear();
    size_t length = basePath != nullptr ? BoundedLength(basePath) : text::kMaxBasePath + 1;
    if (length > text::kMaxBasePath) {
        memset(m_szBasePath, 0, sizeof(m_szBasePath));
        return;
    }
    // memmove: a caller may pass the table's own GetBasePath() back in.
    memmove(m_szBasePath, basePath, length + 1);

    char indexPath[text::kPathBufferSize];
    if (JoinExtension(indexPath, m_szBasePath, ".sif")) {
        ReadIndex(indexPath);
    }
}

bool CLanguageTable::ReadIndex(const char* indexPath) {
    FILE* file = OpenTableFile(indexPath);
    if (file == nullptr) {
        return false;
    }
    long size = FileSize(file);
    bool ok = size >= 0 && fseek(file, 0, SEEK_SET) == 0 &&
              ReadRecords(file, (size_t)size / text::kRecordSize);
    fclose(file);
    return ok;
}

bool CLanguageTable::ReadRecords(FILE* file, size_t count) {
    if (count > 0x7FFFFFFFu) {
        return false; // more records than m_nCount can count
    }
    if (count == 0) {
        return true;
    }
    m_pEntries.Reset((TextIndexEntry*)malloc(count * text::kRecordSize));
    if (!m_pEntries) {
        return false;
    }
    // A file that shrank since its size was taken keeps what was read.
    count = fread(m_pEntries.Get(), text::kRecordSize, count, file);
    for (size_t i = 0; i < count; ++i) {
        m_pEntries[i] = text::DecodeRecord((const unsigned char*)&m_pEntries[i]);
    }
    m_nCount = (int32_t)count;
    return true;
}

bool CLanguageTable::GetEntry(int index, TextIndexEntry* entry) const {
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    *entry = m_pEntries[index];
    return true;
}

char* CLanguageTable::ReadString(int index) {
    TextIndexEntry entry;
    if (!GetEntry(index, &entry) || !IsInsideFormat(entry)) {
        return nullptr;
    }
    char poolPath[text::kPathBufferSize];
    FILE* pool = JoinExtension(poolPath, m_szBasePath, ".poo") ? OpenTableFile(poolPath) : nullptr;
    if (pool == nullptr) {
        return nullptr;
    }
    CHeapBlock<char> block(ReadBlock(pool, entry.offset, entry.length));
    fclose(pool);
    if (block && memchr(block.Get(), '\0', entry.length) == nullptr) {
        block.Reset();
    }
    return block.Detach();
}
