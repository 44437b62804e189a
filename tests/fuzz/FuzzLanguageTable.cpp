// libFuzzer target: an arbitrary .sif/.poo pair loaded and read at every
// index. Input layout: a 16-bit little-endian length n, then n bytes of
// index file (fewer when the input is shorter), then the pool.
// Every block GetString returns must hold a NUL within its record's length;
// the sanitizers catch reads and writes outside what was allocated.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "text/LanguageTable.h"

namespace {

// One scratch folder for the whole run, removed when the process ends.
const char* ScratchBase() {
    static char base[64];
    if (base[0] == '\0') {
        char folder[] = "/tmp/fuzz-vtext-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            abort();
        }
        snprintf(base, sizeof(base), "%s/table", folder);
        atexit([] {
            char path[80];
            snprintf(path, sizeof(path), "%s.sif", base);
            unlink(path);
            snprintf(path, sizeof(path), "%s.poo", base);
            unlink(path);
            *strrchr(base, '/') = '\0';
            rmdir(base);
        });
    }
    return base;
}

void WriteFile(const char* base, const char* extension, const uint8_t* data, size_t size) {
    char path[80];
    snprintf(path, sizeof(path), "%s%s", base, extension);
    FILE* file = fopen(path, "wb");
    if (file == nullptr || (size > 0 && fwrite(data, size, 1, file) != 1)) {
        abort();
    }
    fclose(file);
}

void ReadEveryIndex(CLanguageTable& table) {
    for (int index = -1; index <= table.GetCount(); ++index) {
        char* block = table.GetString(index);
        if (block == nullptr) {
            continue;
        }
        TextIndexEntry entry;
        if (!table.GetEntry(index, &entry) || memchr(block, '\0', entry.length) == nullptr) {
            __builtin_trap(); // a block without a NUL, or one for no record
        }
        free(block);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    size_t indexSize = (size_t)data[0] | ((size_t)data[1] << 8);
    data += 2;
    size -= 2;
    if (indexSize > size) {
        indexSize = size;
    }
    const char* base = ScratchBase();
    WriteFile(base, ".sif", data, indexSize);
    WriteFile(base, ".poo", data + indexSize, size - indexSize);

    CLanguageTable table;
    table.Load(base);
    ReadEveryIndex(table);
    return 0;
}
