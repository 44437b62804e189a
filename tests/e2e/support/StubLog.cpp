#include "StubLog.h"

#include <stdexcept>

#include "Paths.h"
#include "tools/windriver/Wait.h"

namespace e2e {

using namespace windriver;

namespace {

const char kStubLogPath[] = "C:\\stub-starts.log";

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + separator.size();
    }
}

} // namespace

std::vector<StubStart> ReadStubStarts() {
    std::string text;
    // A stub that holds the log without sharing it is not done yet.
    WaitUntil([&] { return ReadFileIfFree(kStubLogPath, text); }, "the stub log to be free");
    std::vector<StubStart> starts;
    std::vector<std::string> lines = Split(text, "\r\n");
    // What follows the last line end is a line still being written.
    lines.pop_back();
    for (const std::string& line : lines) {
        std::vector<std::string> fields = Split(line, "\t");
        if (fields.size() != 3)
            throw std::runtime_error("not a stub start: " + line);
        starts.push_back({fields[0], fields[1], fields[2]});
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
