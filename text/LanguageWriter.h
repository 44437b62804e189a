#pragma once
// Writes language string tables (".sif" index and ".poo" pool) in the format
// that CLanguageTable reads. Used by tests and by the tools that make media.

#include <stddef.h>

#include "text/LanguageTable.h"

struct LanguageText {
    int index;        // non-negative
    const char* text; // bytes in the target code page, NUL-terminated
};

// Writes basePath.sif and basePath.poo with records 0..highest index, texts
// in index order in the pool. An index the list does not give gets a record
// of length 1 (an empty text). Returns false on a write error and on input
// the format cannot hold (a negative or repeated index, a null text, a pool
// past 2^31 bytes); on failure neither file is left behind.
bool WriteLanguageTable(const char* basePath, const LanguageText* texts, size_t count);

// Raw form for malformed tables in tests: the records and the pool bytes
// exactly as given. Returns false on a write error, leaving no files.
bool WriteRawLanguageTable(const char* basePath, const TextIndexEntry* records, size_t recordCount,
                           const void* pool, size_t poolSize);
