#include "common/LinkRules.h"

#include <string.h>

#include "text/CodePage.h"

namespace {

bool IsHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether `name` begins with the ASCII text `prefix`.
bool StartsWith(const char16_t* name, size_t length, const char* prefix) {
    size_t count = strlen(prefix);
    if (length < count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        if (name[i] != (char16_t)(unsigned char)prefix[i])
            return false;
    }
    return true;
}

} // namespace

bool IsWholeVolumeMount(uint32_t tag, const char16_t* name, size_t length) {
    // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}": a dash after these digits.
    const char kGuid[] = "{........-....-....-....-............}\\";
    const size_t kPrefix = 11; // "\??\Volume{" less its brace
    if (tag != kMountPointTag || length != kPrefix - 1 + sizeof kGuid - 1 ||
        !StartsWith(name, length, "\\??\\Volume"))
        return false;
    for (size_t i = 0; kGuid[i]; ++i) {
        char16_t c = name[kPrefix - 1 + i];
        if (kGuid[i] == '.' ? !IsHexDigit(c) : c != (char16_t)kGuid[i])
            return false;
    }
    return true;
}

bool ResolveDriveDevice(const char* path, const char* device, PathBuffer& resolved) {
    bool drive = path[0] && path[1] == ':';
    const char* mapped = device;
    while (*mapped && (mapped[0] != '\\' || mapped[1] != ';'))
        mapped = NextChar(mapped);
    const char* share = *mapped ? FindChar(mapped + 2, strlen(mapped + 2), '\\') : nullptr;
    if (drive && strncmp(device, "\\??\\", 4) == 0 && device[4] && device[5] == ':')
        return FormatPath(resolved, "%s%s", device + 4, path + 2);
    if (drive && share && share[1])
        return FormatPath(resolved, "\\%s%s", share, path + 2);
    return CopyPath(resolved, path);
}

bool IsSameFinalPath(const char* finalPath, const char* expected) {
    PathBuffer plain;
    return PlainFinalPath(finalPath, plain) && IsSamePath(plain, expected);
}
