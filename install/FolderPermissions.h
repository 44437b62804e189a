#pragma once
// The game folder's permissions while an administrator installs into it,
// as Windows's own binary structures, so that they are built once and
// tested natively. C runtime only.

#include <stddef.h>

// A protected DACL's entries (the protection is a flag given with it):
// administrators and SYSTEM may do anything, users may read and run, and
// every file and folder below inherits the same.
extern const unsigned char kInstallingDacl[76];
// An ACL without entries: given to a folder together with taking its
// protection off, it leaves exactly what the folder inherits.
extern const unsigned char kNoEntries[8];
