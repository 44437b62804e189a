#include "StubLog.h"

#include "Paths.h"
#include "tools/windriver/Wait.h"

namespace e2e {

const char kStubLogPath[] = "C:\\stub-starts.log";

std::vector<StubStart> ReadStubStarts(Where where) {
    std::string text;
    // A stub that holds the log without sharing it is not done yet.
    WaitUntil([&] { return ReadFileIfFree(kStubLogPath, text, where); }, "the stub log to be free",
              where);
    std::vector<StubStart> starts;
    // What follows the last line end is a line still being written.
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        std::string line = text.substr(start, end - start);
        // Five fields between tabs; the command line, last, holds none.
        std::vector<std::string> fields;
        for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1) {
            tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab - from));
        }
        Require(fields.size() == 5, where, "not a stub start: " + line);
        starts.push_back({fields[0], fields[1], static_cast<DWORD>(std::stoul(fields[2])),
                          fields[3], fields[4]});
    }
    return starts;
}

std::vector<StubStart> WaitForStubStarts(size_t count, Where where) {
    std::vector<StubStart> starts;
    WaitUntil(
        [&] {
            starts = ReadStubStarts(where);
            return starts.size() >= count;
        },
        std::to_string(count) + " stub start(s)", where);
    return starts;
}

void ClearStubStarts() {
    DeleteFileA(kStubLogPath);
}

} // namespace e2e
