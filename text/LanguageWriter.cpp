#include "text/LanguageWriter.h"

#include "text/Format.h"
#include "text/HeapBlock.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "text/IndexRecord.h"

namespace {

// The two files of one table, created together and either both kept or
// both removed.
class CTableFiles {
  public:
    CTableFiles() : m_index(nullptr), m_pool(nullptr), m_indexOpened(false), m_poolOpened(false) {}
    ~CTableFiles() { Finish(false); }

    bool Create(const char* basePath);
    bool PutRecord(uint32_t offset, uint32_t length);
    bool PutBytes(const void* bytes, size_t size);
    // Closes both files; removes them unless `keep` and every write and
    // close succeeded. Returns whether the files were kept.
    bool Finish(bool keep);

  private:
    FILE* m_index;
    FILE* m_pool;
    CHeapBlock<char> m_indexPath;
    CHeapBlock<char> m_poolPath;
    bool m_indexOpened;
    bool m_poolOpened;
};

CHeapBlock<char> JoinPath(const char* basePath, const char* extension) {
    size_t size = strlen(basePath) + strlen(extension) + 1;
    CHeapBlock<char> path((char*)malloc(size));
    if (path) {
        FormatText(path.Get(), size, "%s%s", basePath, extension);
    }
    return path;
}

bool CTableFiles::Create(const char* basePath) {
    m_indexPath = JoinPath(basePath, ".sif");
    m_poolPath = JoinPath(basePath, ".poo");
    if (!m_indexPath || !m_poolPath) {
        return false;
    }
    m_index = fopen(m_indexPath.Get(), "wb");
    m_pool = fopen(m_poolPath.Get(), "wb");
    m_indexOpened = m_index != nullptr;
    m_poolOpened = m_pool != nullptr;
    return m_indexOpened && m_poolOpened;
}

bool CTableFiles::PutRecord(uint32_t offset, uint32_t length) {
    unsigned char bytes[text::kRecordSize];
    TextIndexEntry entry = {offset, length};
    text::EncodeRecord(entry, bytes);
    return fwrite(bytes, sizeof(bytes), 1, m_index) == 1;
}

bool CTableFiles::PutBytes(const void* bytes, size_t size) {
    return size == 0 || fwrite(bytes, size, 1, m_pool) == 1;
}

bool CTableFiles::Finish(bool keep) {
    if (m_index != nullptr && fclose(m_index) != 0) {
        keep = false;
    }
    if (m_pool != nullptr && fclose(m_pool) != 0) {
        keep = false;
    }
    m_index = m_pool = nullptr;
    if (!keep) {
        // Only the files this writer opened (created or truncated) go.
        if (m_indexOpened) {
            remove(m_indexPath.Get());
        }
        if (m_poolOpened) {
            remove(m_poolPath.Get());
        }
    }
    m_indexPath.Reset();
    m_poolPath.Reset();
    m_indexOpened = m_poolOpened = false;
    return keep;
}

int CompareByIndex(const void* a, const void* b) {
    int left = (*(const LanguageText* const*)a)->index;
    int right = (*(const LanguageText* const*)b)->index;
    return (left > right) - (left < right);
}

// The texts sorted by index, or none when one is invalid or repeated.
CHeapBlock<const LanguageText*> SortTexts(const LanguageText* texts, size_t count) {
    if (count > SIZE_MAX / sizeof(LanguageText*) - 1) {
        return nullptr;
    }
    CHeapBlock<const LanguageText*> sorted(
        (const LanguageText**)malloc(count * sizeof(const LanguageText*) + 1));
    if (!sorted) {
        return nullptr;
    }
    bool valid = true;
    for (size_t i = 0; i < count; ++i) {
        sorted[i] = &texts[i];
        valid = valid && texts[i].index >= 0 && texts[i].text != nullptr;
    }
    qsort(sorted.Get(), count, sizeof(const LanguageText*), CompareByIndex);
    for (size_t i = 1; valid && i < count; ++i) {
        valid = sorted[i - 1]->index != sorted[i]->index;
    }
    if (!valid) {
        return nullptr;
    }
    return sorted;
}

// Writes records 0..highest: each given text with its NUL, each gap as a
// lone NUL. Fails when an offset would leave the format's range.
bool WriteSorted(CTableFiles& files, const LanguageText* const* sorted, size_t count) {
    uint64_t offset = 0;
    size_t next = 0;
    int highest = count > 0 ? sorted[count - 1]->index : -1;
    for (int index = 0; index <= highest; ++index) {
        const char* text = "";
        if (sorted[next]->index == index) {
            text = sorted[next++]->text;
        }
        uint64_t length = (uint64_t)strlen(text) + 1;
        if (offset > text::kMaxOffset || length > UINT32_MAX) {
            return false;
        }
        if (!files.PutRecord((uint32_t)offset, (uint32_t)length) ||
            !files.PutBytes(text, (size_t)length)) {
            return false;
        }
        offset += length;
    }
    return true;
}

} // namespace

bool WriteLanguageTable(const char* basePath, const LanguageText* texts, size_t count) {
    if (basePath == nullptr || (texts == nullptr && count > 0)) {
        return false;
    }
    CHeapBlock<const LanguageText*> sorted(SortTexts(texts, count));
    if (!sorted) {
        return false;
    }
    CTableFiles files;
    bool ok = files.Create(basePath) && WriteSorted(files, sorted.Get(), count);
    return files.Finish(ok);
}

bool WriteRawLanguageTable(const char* basePath, const TextIndexEntry* records, size_t recordCount,
                           const void* pool, size_t poolSize) {
    if (basePath == nullptr || (records == nullptr && recordCount > 0) ||
        (pool == nullptr && poolSize > 0)) {
        return false;
    }
    CTableFiles files;
    bool ok = files.Create(basePath);
    for (size_t i = 0; ok && i < recordCount; ++i) {
        ok = files.PutRecord(records[i].offset, records[i].length);
    }
    ok = ok && files.PutBytes(pool, poolSize);
    return files.Finish(ok);
}
