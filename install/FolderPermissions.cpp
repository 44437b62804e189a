#include "install/FolderPermissions.h"

// Little-endian fields of the structures winnt.h declares.
#define WORD_BYTES(value) (value) & 0xFF, ((value) >> 8) & 0xFF
#define DWORD_BYTES(value) WORD_BYTES((value)&0xFFFF), WORD_BYTES(((value) >> 16) & 0xFFFF)
// An ACCESS_ALLOWED_ACE inherited by files and folders (OBJECT_INHERIT_ACE |
// CONTAINER_INHERIT_ACE) of `size` bytes, its SID included.
#define ALLOWED_ACE(size, mask) 0, 0x03, WORD_BYTES(size), DWORD_BYTES(mask)
// SIDs of the NT authority (5): S-1-5-32-544, S-1-5-32-545 and S-1-5-18.
#define NT_AUTHORITY 0, 0, 0, 0, 0, 5
#define ADMINISTRATORS_SID 1, 2, NT_AUTHORITY, DWORD_BYTES(32), DWORD_BYTES(544)
#define USERS_SID 1, 2, NT_AUTHORITY, DWORD_BYTES(32), DWORD_BYTES(545)
#define SYSTEM_SID 1, 1, NT_AUTHORITY, DWORD_BYTES(18)

namespace {

const unsigned kAllAccess = 0x001F01FF;  // FILE_ALL_ACCESS
const unsigned kReadAndRun = 0x001200A9; // FILE_GENERIC_READ | FILE_GENERIC_EXECUTE

} // namespace

const unsigned char kInstallingDacl[76] = {
    // ACL: revision 2, 76 bytes, three entries.
    2,
    0,
    WORD_BYTES(76),
    WORD_BYTES(3),
    WORD_BYTES(0),
    ALLOWED_ACE(24, kAllAccess),
    ADMINISTRATORS_SID,
    ALLOWED_ACE(20, kAllAccess),
    SYSTEM_SID,
    ALLOWED_ACE(24, kReadAndRun),
    USERS_SID,
};

const unsigned char kNoEntries[8] = {2, 0, WORD_BYTES(8), WORD_BYTES(0), WORD_BYTES(0)};
