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

bool IsOwnedByAdministrators(const unsigned char* descriptor, size_t size) {
    // SECURITY_DESCRIPTOR_RELATIVE: revision, padding, control (16 bits,
    // SE_SELF_RELATIVE 0x8000), then the owner's offset (32 bits). The SIDs
    // as bytes: revision 1, the count of sub-authorities, the NT authority
    // (6 bytes), the sub-authorities (32 bits each).
    static const unsigned char kSystem[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    static const unsigned char kAdministrators[] = {1,  2, 0, 0, 0,    0, 0, 5,
                                                    32, 0, 0, 0, 0x20, 2, 0, 0};
    if (size < 20 || !(descriptor[3] & 0x80))
        return false;
    uint32_t owner =
        descriptor[4] | descriptor[5] << 8 | descriptor[6] << 16 | (uint32_t)descriptor[7] << 24;
    if (owner < 20 || owner > size)
        return false;
    const unsigned char* sid = descriptor + owner;
    size_t left = size - owner;
    return (left >= sizeof kSystem && memcmp(sid, kSystem, sizeof kSystem) == 0) ||
           (left >= sizeof kAdministrators &&
            memcmp(sid, kAdministrators, sizeof kAdministrators) == 0);
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
