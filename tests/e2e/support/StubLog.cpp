#include "StubLog.h"

#include "Paths.h"

namespace e2e {

const char kStubLogPath[] = "C:\\stub-starts.log";

namespace {

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
    std::vector<StubStart> starts;
    if (!FileExists(kStubLogPath))
        return starts;
    for (const std::string& line : Split(ReadWholeFile(kStubLogPath), "\r\n")) {
        std::vector<std::string> fields = Split(line, "\t");
        // A line still being written by a stub is not complete yet.
        if (fields.size() == 3)
            starts.push_back({fields[0], fields[1], fields[2]});
    }
    return starts;
}

std::vector<StubStart> WaitForStubStarts(size_t count, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<StubStart> starts = ReadStubStarts();
        if (starts.size() >= count || GetTickCount() - start >= timeoutMs)
            return starts;
        Sleep(50);
    }
}

void ClearStubStarts() {
    DeleteFileA(kStubLogPath);
}

} // namespace e2e
