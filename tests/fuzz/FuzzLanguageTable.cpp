// libFuzzer target: an arbitrary .sif/.poo pair loaded and read at every
// index, then loaded as both of a language's pairs (the game's table and
// setup's own, which must carry its marker) and every text of the catalogue
// looked up through them; the files' bytes given from memory. Input layout: a 16-bit little-endian
// length n, then n bytes of index file (fewer when the input is shorter), then the pool. Every
// block GetString returns must hold a NUL within its record's length, and every text looked up with
// its inserts must end within its buffer; the sanitizers catch reads and writes outside what was
// allocated.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "text/LanguageTable.h"
#include "text/LocalText.h"
#include "text/SetupPair.h"
#include "text/TableFile.h"

namespace {

// The input's index and pool, which the reader gets as files through the
// seam below: no file is written, so a run covers millions of inputs.
const uint8_t* g_index = nullptr;
size_t g_indexSize = 0;
const uint8_t* g_pool = nullptr;
size_t g_poolSize = 0;

bool EndsWith(const char* path, const char* extension) {
    size_t length = strlen(path);
    return length >= 4 && strcmp(path + length - 4, extension) == 0;
}

} // namespace

// The table's files, from memory: this definition takes the place of
// text/TableFile.cpp's, which the linker then leaves out of the library.
FILE* OpenTableFile(const char* path) {
    bool index = EndsWith(path, ".sif");
    if (!index && !EndsWith(path, ".poo")) {
        return nullptr;
    }
    void* data = const_cast<uint8_t*>(index ? g_index : g_pool);
    FILE* file = fmemopen(data, index ? g_indexSize : g_poolSize, "rb");
    // Unbuffered: the bytes are in memory already, and a buffer would cost
    // an allocation of 4 KB, which the sanitizer fills, at every lookup.
    if (file != nullptr) {
        setvbuf(file, nullptr, _IONBF, 0);
    }
    return file;
}

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
    g_index = data;
    g_indexSize = indexSize;
    g_pool = data + indexSize;
    g_poolSize = size - indexSize;

    CLanguageTable table;
    table.Load("table");
    for (int index = -1; index <= table.GetCount(); ++index) {
        char* block = table.GetString(index);
        TextIndexEntry entry;
        if (block != nullptr &&
            (!table.GetEntry(index, &entry) || memchr(block, '\0', entry.length) == nullptr)) {
            __builtin_trap(); // a block without a NUL, or one for no record
        }
        free(block);
        // A translation's placeholders filled with inserts that have their
        // own, into a buffer a long text overruns. Where the table holds no
        // text the lookup gives the same English for every input: looked up
        // once, past either end, not at every broken record.
        bool end = index == -1 || index == table.GetCount();
        if (block == nullptr && !end) {
            continue;
        }
        const char* const inserts[] = {"%2", "C:\\Games"};
        char text[24];
        LookUpText(table, {index, "%1 and %2"}, text, sizeof text, inserts, 2);
        if (memchr(text, '\0', sizeof text) == nullptr) {
            __builtin_trap();
        }
    }
    // The same bytes as a game's table and as setup's pair: the lookup goes
    // to the pair that holds each text, and a pair without its marker
    // leaves the English. A text past its pair's end is the English, the
    // same for every input: past the first of each pair, only the texts a
    // pair holds are looked up.
    LanguageTexts texts;
    texts.Load("table", "table");
    bool gameLookedUp = false, setupLookedUp = false;
    for (const CatalogueText& entry : kTextCatalogue) {
        bool& oneLookedUp = InSetupPair(entry.index) ? setupLookedUp : gameLookedUp;
        if (oneLookedUp && entry.index >= texts.TableOf(entry.index).GetCount()) {
            continue;
        }
        oneLookedUp = true;
        const char* const inserts[] = {"%1", "C:\\Games"};
        char text[24];
        LookUpText(texts, {entry.index, entry.english}, text, sizeof text, inserts, 2);
        if (memchr(text, '\0', sizeof text) == nullptr) {
            __builtin_trap();
        }
    }
    return 0;
}
