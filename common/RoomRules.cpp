#include "common/RoomRules.h"

#include <string.h>

namespace {

const uint64_t kMegabyte = 1024 * 1024;
const uint64_t kMostMegabytes = 0xFFFFFFFFu;

// The length of the root of an absolute path: "C:\" is 3, "\\server\share\"
// (or "\\server\share" at the path's end) up to and with its backslash.
size_t RootLength(const char* path) {
    if (path[1] == ':')
        return 3;
    const char* share = strchr(path + 2, '\\') + 1;
    const char* end = strchr(share, '\\');
    return end ? (size_t)(end - path) + 1 : strlen(path);
}

bool WithBackslash(PathBuffer& buffer, const char* text, size_t length) {
    bool slash = length > 0 && text[length - 1] == '\\';
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
    while (length > rootLength && path[length - 1] == '\\')
        --length;
    while (length > rootLength) {
        if (!WithBackslash(folder, path, length))
            return false;
        if (exists(folder))
            return true;
        // Up one level: drop the last name and the backslashes before it.
        while (length > rootLength && path[length - 1] != '\\')
            --length;
        while (length > rootLength && path[length - 1] == '\\')
            --length;
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
