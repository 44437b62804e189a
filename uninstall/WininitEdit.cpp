#include "uninstall/WininitEdit.h"

#include <string.h>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// ASCII only: Windows reads section names so, whatever the code page.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// Whether the line `text[begin, end)` (its line end left out) is the
// [rename] header.
bool IsRenameHeader(const char* text, size_t begin, size_t end) {
    static const char kHeader[] = "[rename]";
    const size_t length = sizeof kHeader - 1;
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == '\r'))
        --end;
    if (end - begin != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (Lower(text[begin + i]) != kHeader[i])
            return false;
    }
    return true;
}

// Where the line to add goes: just after the [rename] header's line end;
// `size` when the file has no such header. `headerEndsFile` tells a header
// on the last line without a line end.
size_t InsertionPoint(const char* text, size_t size, bool& found, bool& headerEndsFile) {
    for (size_t begin = 0; begin < size;) {
        const void* newline = memchr(text + begin, '\n', size - begin);
        size_t end = newline ? (size_t)((const char*)newline - text) : size;
        if (IsRenameHeader(text, begin, end)) {
            found = true;
            headerEndsFile = !newline;
            return newline ? end + 1 : size;
        }
        begin = end + 1;
    }
    return size;
}

// Appends `length` bytes of `data` at `at` when they fit `capacity`.
bool Put(char* out, size_t capacity, size_t& at, const char* data, size_t length) {
    if (length > capacity - at)
        return false;
    memcpy(out + at, data, length);
    at += length;
    return true;
}

} // namespace

size_t AddDeletionToWininit(const char* old, size_t size, const char* path, char* edited,
                            size_t capacity) {
    if (!old) {
        old = "";
        size = 0;
    }
    if (size > kLargestWininit)
        return 0;
    bool found = false, headerEndsFile = false;
    size_t split = InsertionPoint(old, size, found, headerEndsFile);
    bool openLine = !found && size > 0 && old[size - 1] != '\n';
    static const char kNewHeader[] = "[rename]\r\n";
    size_t at = 0;
    bool fits = Put(edited, capacity, at, old, split) &&
                (!(openLine || headerEndsFile) || Put(edited, capacity, at, "\r\n", 2)) &&
                (found || Put(edited, capacity, at, kNewHeader, sizeof kNewHeader - 1)) &&
                Put(edited, capacity, at, "NUL=", 4) &&
                Put(edited, capacity, at, path, strlen(path)) &&
                Put(edited, capacity, at, "\r\n", 2) &&
                Put(edited, capacity, at, old + split, size - split);
    return fits ? at : 0;
}
