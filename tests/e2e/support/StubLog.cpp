#include "StubLog.h"

#include <stdexcept>

#include "Paths.h"
#include "tools/windriver/Wait.h"

namespace e2e {

using namespace windriver;

const char kStubLogPath[] = "C:\\stub-starts.log";

std::vector<StubStart> ReadStubStarts() {
    std::string text;
    // A stub that holds the log without sharing it is not done yet.
    WaitUntil([&] { return ReadFileIfFree(kStubLogPath, text); }, "the stub log to be free");
    std::vector<StubStart> starts;
    // What follows the last line end is a line still being written.
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        std::string line = text.substr(start, end - start);
        size_t first = line.find('\t');
        size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos ||
            line.find('\t', second + 1) != std::string::npos)
            throw std::runtime_error("not a stub start: " + line);
        starts.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                          line.substr(second + 1)});
    }
    return starts;
}

std::vector<StubStart> WaitForStubStarts(size_t count) {
    std::vector<StubStart> starts;
    WaitUntil(
        [&] {
            starts = ReadStubStarts();
            return starts.size() >= count;
        },
        std::to_string(count) + " stub start(s)");
    return starts;
}

void ClearStubStarts() {
    DeleteFileA(kStubLogPath);
}

} // namespace e2e
