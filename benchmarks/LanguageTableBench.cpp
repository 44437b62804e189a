// The language table reader against raw file access of the same bytes,
// natively on Linux (Google Benchmark). Each pair is one figure of
// scripts/bench.sh, which takes the ratio of the pair per repetition:
//
//   GetString/*        CLanguageTable::GetString of one text, block freed
//   RawLookup/*        malloc, open, lseek, read, close of the same bytes
//   Load65536          CLanguageTable::Load of an index of 65,536 records
//   RawIndexRead65536  malloc, open, read of the whole index file, close
//
// The files are written once into a temporary folder, which is removed at
// the end; the page cache holds them throughout, as it does on a running
// machine after the first look.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"

namespace {

// A table like a shipped language: texts for indexes 0..799, of lengths
// cycling through 8 to 71 bytes.
const int kTextCount = 800;
const int kLoadRecords = 65536;

struct Fixture {
    std::string folder;
    std::string table; // base path of the 800-text table
    std::string large; // base path of the 65,536-record table
    std::vector<std::string> texts;

    Fixture() {
        char pattern[] = "/tmp/bench-language-XXXXXX";
        if (!mkdtemp(pattern)) {
            perror("mkdtemp");
            exit(1);
        }
        folder = pattern;
        table = folder + "/English";
        large = folder + "/Large";

        std::vector<LanguageText> list;
        texts.reserve(kTextCount);
        for (int i = 0; i < kTextCount; ++i) {
            std::string text = "Text " + std::to_string(i) + " ";
            text.resize(8 + (size_t)(i * 7) % 64, 'x');
            texts.push_back(text);
        }
        for (int i = 0; i < kTextCount; ++i)
            list.push_back({i, texts[(size_t)i].c_str()});
        if (!WriteLanguageTable(table.c_str(), list.data(), list.size())) {
            fprintf(stderr, "cannot write %s\n", table.c_str());
            exit(1);
        }

        // Every record points at one of 256 texts of a small pool.
        std::vector<TextIndexEntry> records((size_t)kLoadRecords);
        std::string pool;
        for (int i = 0; i < 256; ++i) {
            pool += "Large text " + std::to_string(i);
            pool += '\0';
        }
        uint32_t offset = 0;
        for (int i = 0; i < kLoadRecords; ++i) {
            if (i % 256 == 0)
                offset = 0;
            uint32_t length = (uint32_t)strlen(pool.c_str() + offset) + 1;
            records[(size_t)i] = {offset, length};
            offset += length;
        }
        if (!WriteRawLanguageTable(large.c_str(), records.data(), records.size(), pool.data(),
                                   pool.size())) {
            fprintf(stderr, "cannot write %s\n", large.c_str());
            exit(1);
        }
    }

    ~Fixture() {
        for (const char* name : {"/English.sif", "/English.poo", "/Large.sif", "/Large.poo"})
            unlink((folder + name).c_str());
        rmdir(folder.c_str());
    }
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

// The index of the text looked up, by the benchmark's argument: a short
// one near the start and a long one at the end of the catalogue.
void LookupArguments(benchmark::internal::Benchmark* b) {
    b->Arg(662)->Arg(788);
}

void GetString(benchmark::State& state) {
    CLanguageTable table;
    table.Load(Files().table.c_str());
    int index = (int)state.range(0);
    const std::string& expected = Files().texts[(size_t)index];
    for (auto _ : state) {
        CHeapBlock<char> text = table.GetString(index);
        benchmark::DoNotOptimize(text.Get());
        if (!text || expected != text.Get()) {
            state.SkipWithError("wrong text");
            break;
        }
    }
}
BENCHMARK(GetString)->Apply(LookupArguments);

void RawLookup(benchmark::State& state) {
    CLanguageTable table;
    table.Load(Files().table.c_str());
    TextIndexEntry entry;
    if (!table.GetEntry((int)state.range(0), &entry)) {
        state.SkipWithError("no record");
        return;
    }
    const std::string pool = Files().table + ".poo";
    const std::string& expected = Files().texts[(size_t)state.range(0)];
    for (auto _ : state) {
        char* block = (char*)malloc(entry.length);
        int fd = open(pool.c_str(), O_RDONLY);
        bool ok = fd >= 0 && lseek(fd, (off_t)entry.offset, SEEK_SET) == (off_t)entry.offset &&
                  read(fd, block, entry.length) == (ssize_t)entry.length;
        if (fd >= 0)
            close(fd);
        benchmark::DoNotOptimize(block);
        if (!ok || expected != block) {
            state.SkipWithError("raw read failed");
            free(block);
            break;
        }
        free(block);
    }
}
BENCHMARK(RawLookup)->Apply(LookupArguments);

void Load65536(benchmark::State& state) {
    CLanguageTable table;
    for (auto _ : state) {
        table.Load(Files().large.c_str());
        if (table.GetCount() != kLoadRecords) {
            state.SkipWithError("wrong record count");
            break;
        }
    }
}
BENCHMARK(Load65536);

void RawIndexRead65536(benchmark::State& state) {
    const std::string index = Files().large + ".sif";
    const size_t size = (size_t)kLoadRecords * sizeof(TextIndexEntry);
    for (auto _ : state) {
        void* records = malloc(size);
        int fd = open(index.c_str(), O_RDONLY);
        bool ok = fd >= 0 && read(fd, records, size) == (ssize_t)size;
        if (fd >= 0)
            close(fd);
        benchmark::DoNotOptimize(records);
        free(records);
        if (!ok) {
            state.SkipWithError("raw read failed");
            break;
        }
    }
}
BENCHMARK(RawIndexRead65536);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Files();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
