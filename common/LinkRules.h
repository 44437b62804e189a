#pragma once
// What a folder on the way to the game folder may be, and whether a
// handle's final path names the folder setup recorded. C runtime only, so
// that they build and are tested natively.

#include <stddef.h>
#include <stdint.h>

#include "common/PathRules.h"

// The reparse tag of a junction or a volume mount point.
const uint32_t kMountPointTag = 0xA0000003u;

// Whether a folder whose reparse data has tag `tag` and the substitute name
// `name` (`length` UTF-16 units) leads to a whole volume: a mount point
// whose name is "\??\Volume{GUID}\" and nothing more. Such a folder may be
// on the way to the game folder, as a drive letter may: only an
// administrator can make one. A junction has the same tag but names a
// folder ("\??\C:\Elsewhere"); it, a symbolic link and every other reparse
// point are refused.
bool IsWholeVolumeMount(uint32_t tag, const char16_t* name, size_t length);

// Whether the self-relative security descriptor `descriptor` (`size`
// bytes, as GetKernelObjectSecurity gives it) names Administrators
// (S-1-5-32-544) or SYSTEM (S-1-5-18) as its owner.
bool IsOwnedByAdministrators(const unsigned char* descriptor, size_t size);

// Whether a reparse point on the way to the game folder may stay: a mount
// point of a whole volume (IsWholeVolumeMount) above the game folder, never
// the game folder itself, whose owner (`descriptor`, `size` bytes) is
// Administrators or SYSTEM. A standard user may mount a volume on an empty
// folder of their own; the folder then stays theirs.
inline bool MountPointMayStay(uint32_t tag, const char16_t* name, size_t length, bool gameFolder,
                              const unsigned char* descriptor, size_t size) {
    return !gameFolder && IsWholeVolumeMount(tag, name, length) &&
           IsOwnedByAdministrators(descriptor, size);
}

// `path` on the drive it lies on, when that drive is a substituted or a
// mapped one: `device` is what the system gives for its drive letter
// ("\??\C:\Games" for a substituted drive, "\Device\...\;Z:0...\server\share"
// for a mapped one). Any other path, or a device of another form, leaves
// `path` as it is. False when the result does not fit.
bool ResolveDriveDevice(const char* path, const char* device, PathBuffer& resolved);

// Whether `finalPath`, a handle's final path with its volume as a drive
// ("\\?\C:\Games\The Vellmor", "\\?\UNC\server\share\..."), names
// `expected` as a whole, in any case of the ASCII letters.
bool IsSameFinalPath(const char* finalPath, const char* expected);
