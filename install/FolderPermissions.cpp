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

// A self-relative SECURITY_DESCRIPTOR: revision 1, control SE_SELF_RELATIVE
// | SE_DACL_PROTECTED | SE_DACL_PRESENT, the owner at 20, no group or SACL,
// the DACL at 36: administrators and SYSTEM may do anything, users may read
// and run, and every file and folder below inherits the same.
alignas(4) const unsigned char kInstallingDescriptor[112] = {
    1,
    0,
    WORD_BYTES(0x9004),
    DWORD_BYTES(20),
    DWORD_BYTES(0),
    DWORD_BYTES(0),
    DWORD_BYTES(36),
    ADMINISTRATORS_SID,
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
