#pragma once
// The game folder's permissions while an administrator installs into it,
// as Windows's own binary structures, so that they are built once and
// tested natively. C runtime only.

#include <stddef.h>

// The descriptor a folder of setup's own is created with: owned by
// Administrators, a DACL protected from what the folder above gives, by
// which administrators and SYSTEM may do anything and users may read and
// run, and every file and folder below inherits the same.
extern const unsigned char kInstallingDescriptor[112];
// An ACL without entries: given to a folder together with taking its
// protection off, it leaves exactly what the folder inherits.
extern const unsigned char kNoEntries[8];
