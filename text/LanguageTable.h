#pragma once
// A language string table: an index file (".sif") of 8-byte records
// {offset, length} and a string pool (".poo") of NUL-terminated texts.
// Only the index is held in memory; every lookup reopens the pool.
//
// Load never reports failure; a table that failed to load simply yields no
// text. What the table holds afterwards:
// - Index file opened and read: the new base path and its records (a file of
//   0 to 7 bytes gives a table without records; trailing bytes are ignored).
// - Index file cannot be opened, or its records cannot be allocated: the new
//   base path and no records. The previous language's records are released
//   so that they never show through under the new base path.
// - Base path null or longer than kMaxBasePath characters: refused; the
//   table is emptied (no records, base path all zero).
//
// GetString yields no text (null) for an index outside the table, a missing
// pool, a record of length 0, an offset of 2^31 or more, a record whose bytes
// reach past the end of the pool, bytes without a NUL, or a failed allocation.

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "text/Format.h"
#include "text/HeapBlock.h"

namespace text {
// The longest base path: with ".sif" or ".poo" and the NUL it fills a
// path buffer.
enum { kMaxBasePath = kPathBufferSize - 5 };
} // namespace text

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

    // The text of `index` in a block of the record's length, which always
    // holds a NUL. None when there is no text. Inline, so that the caller
    // keeps the block in a register rather than in a frame of its own.
    CHeapBlock<char> GetString(int index) { return CHeapBlock<char>(ReadString(index)); }

    int GetCount() const { return m_nCount; }
    const char* GetBasePath() const { return m_szBasePath; }

    // The record of `index` as read from the index file, unchecked against
    // the pool (for tools that validate tables). False outside the table.
    bool GetEntry(int index, TextIndexEntry* entry) const;

    // Forgets the records and the base path: the table yields no text.
    void Clear();

  private:
    // GetString's block, for the caller to free.
    char* ReadString(int index);
    bool ReadIndex(const char* indexPath);
    bool ReadRecords(FILE* file, size_t count);

    CHeapBlock<TextIndexEntry> m_pEntries;
    char m_szBasePath[text::kPathBufferSize];
    int32_t m_nCount;
};
