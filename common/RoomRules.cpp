#include "common/RoomRules.h"

#include <string.h>

#include "text/CodePage.h"

namespace {

const uint64_t kMegabyte = 1024 * 1024;
const uint64_t kMostMegabytes = 0xFFFFFFFFu;

// The length of the root of an absolute path: "C:\" is 3, "\\server\share\"
// (or "\\server\share" at the path's end) up to and with its backslash.
size_t RootLength(const char* path) {
    if (path[1] == ':')
        return 3;
    const char* at = path;
    for (int backslashes = 0; *at && backslashes < 4; at = NextChar(at))
        backslashes += *at == '\\';
    return (size_t)(at - path);
}

bool WithBackslash(PathBuffer& buffer, const char* text, size_t length) {
    bool slash = EndsWithChar(text, length, '\\');
    if (length + (slash ? 0 : 1) >= text::kPathBufferSize)
        return false;
    memcpy(buffer, text, length);
    if (!slash)
        buffer[length++] = '\\';
    buffer[length] = '\0';
    return true;
}

} // namespace

uint64_t AddedBytes(uint64_t sourceSize, bool exists, uint64_t existingSize) {
    if (!exists)
        return sourceSize;
    return sourceSize > existingSize ? sourceSize - existingSize : 0;
}

bool RootOfPath(const char* path, PathBuffer& root) {
    if (!IsAbsolutePath(path))
        return false;
    return WithBackslash(root, path, RootLength(path));
}

bool NearestExistingFolder(const char* path, bool (*exists)(const char* folder),
                           PathBuffer& folder) {
    if (!IsAbsolutePath(path))
        return false;
    size_t rootLength = RootLength(path);
    size_t length = strnlen(path, text::kPathBufferSize);
    for (;;) {
        while (length > rootLength && EndsWithChar(path, length, '\\'))
            --length;
        if (length <= rootLength)
            break;
        if (!WithBackslash(folder, path, length))
            return false;
        if (exists(folder))
            return true;
        // Up one level: the folder's text without its last name.
        folder[length] = '\0';
        length = (size_t)(FindLastChar(folder, '\\') - folder);
    }
    // The root answers for its drive whether or not the system lists it.
    return WithBackslash(folder, path, rootLength);
}

uint64_t FreeBytesFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                               uint32_t freeClusters) {
    return (uint64_t)sectorsPerCluster * bytesPerSector * freeClusters;
}

uint32_t MegabytesNeeded(uint64_t bytes) {
    uint64_t megabytes = bytes / kMegabyte + (bytes % kMegabyte != 0);
    return (uint32_t)(megabytes < kMostMegabytes ? megabytes : kMostMegabytes);
}

uint32_t MegabytesFree(uint64_t bytes) {
    uint64_t megabytes = bytes / kMegabyte;
    return (uint32_t)(megabytes < kMostMegabytes ? megabytes : kMostMegabytes);
}
