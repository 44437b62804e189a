#pragma once
// A language string table: an index file (".sif") of 8-byte records
// {offset, length} and a string pool (".poo") of NUL-terminated texts.
// Only the index is held in memory; every lookup reopens the pool.

#include <stdint.h>

namespace text {
enum { kMaxPath = 260 };
}

struct TextIndexEntry {
    uint32_t offset; // first byte of the text in the pool
    uint32_t length; // bytes of the text, terminating NUL included
};

class CLanguageTable {
public:
    CLanguageTable();
    virtual ~CLanguageTable();

    CLanguageTable(const CLanguageTable&) = delete;
    CLanguageTable& operator=(const CLanguageTable&) = delete;

    // Takes basePath (without extension) and reads basePath.sif.
    void Load(const char* basePath);

    // The text of `index` as a malloc'd block of the record's length, which
    // always holds a NUL; the caller frees it. Null when there is no text.
    char* GetString(int index);

    int GetCount() const { return m_nCount; }
    const char* GetBasePath() const { return m_szBasePath; }

private:
    TextIndexEntry* m_pEntries;
    char m_szBasePath[text::kMaxPath];
    int32_t m_nCount;
};
