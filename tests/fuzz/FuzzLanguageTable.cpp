// libFuzzer target: an arbitrary .sif/.poo pair loaded and read at every
// index. Input layout: a 16-bit little-endian length n, then n bytes of
// index file (fewer when the input is shorter), then the pool.
// Every block GetString returns must hold a NUL within its record's length,
// and every text looked up with its inserts must end within its buffer; the
// sanitizers catch reads and writes outside what was allocated.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "text/LanguageTable.h"
#include "text/LocalText.h"

namespace {

// One scratch folder for the whole run, removed with its files when the
// process ends.
std::string g_folder;

const std::string& ScratchFolder() {
    if (g_folder.empty()) {
        char pattern[] = "/tmp/fuzz-vtext-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            abort();
        }
        g_folder = pattern;
        atexit([] { std::filesystem::remove_all(g_folder); });
    }
    return g_folder;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    if (!std::ofstream(path, std::ios::binary).write((const char*)data, (std::streamsize)size)) {
        abort();
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
    const std::string base = ScratchFolder() + "/table";
    WriteFile(base + ".sif", data, indexSize);
    WriteFile(base + ".poo", data + indexSize, size - indexSize);

    CLanguageTable table;
    table.Load(base.c_str());
    for (int index = -1; index <= table.GetCount(); ++index) {
        char* block = table.GetString(index);
        TextIndexEntry entry;
        if (block != nullptr &&
            (!table.GetEntry(index, &entry) || memchr(block, '\0', entry.length) == nullptr)) {
            __builtin_trap(); // a block without a NUL, or one for no record
        }
        free(block);
        // A translation's placeholders filled with inserts that have their
        // own, into a buffer a long text overruns.
        const char* const inserts[] = {"%2", "C:\\Games"};
        char text[24];
        LookUpText(table, {index, "%1 and %2"}, text, sizeof text, inserts, 2);
        if (memchr(text, '\0', sizeof text) == nullptr) {
            __builtin_trap();
        }
    }
    return 0;
}
