#include "common/HeldTree.h"

#include <winioctl.h>

#include <stddef.h>
#include <string.h>

#include "common/FinalPath.h"
#include "common/LinkRules.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"
#include "text/CodePage.h"

namespace {

typedef DWORD(WINAPI* GetLongPathNameAProc)(LPCSTR path, LPSTR longPath, DWORD size);
typedef DWORD(WINAPI* QueryDosDeviceAProc)(LPCSTR device, LPSTR target, DWORD size);
typedef LONG(WINAPI* NtSetInformationFileProc)(HANDLE file, ULONG_PTR* status, LPVOID info,
                                               ULONG size, int infoClass);

// What is set through a handle, as ntdll numbers it.
enum class HandleInfo { Basic = 4, Rename = 10, Disposition = 13 };

// Through ntdll's NtSetInformationFile, which every NT has, with its
// structures (FILE_BASIC_INFORMATION, FILE_DISPOSITION_INFORMATION): from
// Vista on SetFileInformationByHandle is the same call beneath.
bool SetByHandle(HANDLE item, HandleInfo which, void* info, DWORD size) {
    auto ntSet = LibraryProc<NtSetInformationFileProc>(GetModuleHandleA("ntdll.dll"),
                                                       "NtSetInformationFile");
    ULONG_PTR status[2];
    return ntSet && ntSet(item, status, info, size, (int)which) >= 0;
}

// Where the character after the one at `text[at]` begins.
size_t NextCharAt(const char* text, size_t at) {
    return (size_t)(NextChar(text + at) - text);
}

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD LinkItselfFlag() {
    return LOBYTE(LOWORD(GetVersion())) >= 5 ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
}

// Opens `path` as itself, a link rather than its target. Where no flag
// opens a link as itself (NT 4, which has none, but Wine set to NT 4 shows
// Unix links), a link is not opened at all.
HANDLE OpenAsItself(const char* path, DWORD access, DWORD share) {
    DWORD linkItself = LinkItselfFlag();
    if (!linkItself && IsLink(GetFileAttributesA(path)))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | linkItself, nullptr);
}

// What `item`, opened by `path` as itself, opens; false when the path
// names a link but the handle opens another item: the system followed the
// link (Wine does, for a Unix link).
bool InfoOfItself(HANDLE item, const char* path, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(item, &info) &&
           IsLink(GetFileAttributesA(path)) == IsLink(info.dwFileAttributes);
}

// Clears the read-only attribute of what `item` opens (`info`), which a
// delete would stop at. A file with more than one name shares its
// attributes with a name elsewhere: it keeps them.
void ClearReadOnlyOf(HANDLE item, const BY_HANDLE_FILE_INFORMATION& info) {
    DWORD attributes = info.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_READONLY) || info.nNumberOfLinks > 1)
        return;
    struct {
        LARGE_INTEGER times[4]; // zero: unchanged
        DWORD attributes;
    } basic = {};
    // Only what may be set: never the folder or reparse attributes.
    basic.attributes = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (basic.attributes == 0)
        basic.attributes = FILE_ATTRIBUTE_NORMAL;
    SetByHandle(item, HandleInfo::Basic, &basic, sizeof basic);
}

typedef BOOL(WINAPI* GetKernelObjectSecurityProc)(HANDLE item, SECURITY_INFORMATION what,
                                                  PSECURITY_DESCRIPTOR descriptor, DWORD size,
                                                  LPDWORD needed);

// Whether the reparse point open as `folder` may stay on the way
// (MountPointMayStay): its reparse data, and its owner read through the
// same handle.
bool MountMayStay(HANDLE folder, bool gameFolder) {
    auto getSecurity = LibraryProc<GetKernelObjectSecurityProc>(GetModuleHandleA("advapi32.dll"),
                                                                "GetKernelObjectSecurity");
    unsigned char owner[128];
    DWORD ownerSize = 0;
    struct {
        DWORD tag;
        WORD dataLength, reserved;
        WORD nameOffset, nameLength, printOffset, printLength;
        char16_t names[512];
    } data;
    DWORD size = 0;
    if (!DeviceIoControl(folder, FSCTL_GET_REPARSE_POINT, nullptr, 0, &data, sizeof data, &size,
                         nullptr) ||
        size < offsetof(decltype(data), names) ||
        data.nameOffset + data.nameLength > size - offsetof(decltype(data), names) ||
        !getSecurity ||
        !getSecurity(folder, OWNER_SECURITY_INFORMATION, owner, sizeof owner, &ownerSize))
        return false;
    return MountPointMayStay(data.tag, data.names + data.nameOffset / 2, data.nameLength / 2,
                             gameFolder, owner, sizeof owner);
}

// `path` as a handle's final path names it: its drive's substitution or
// mapping resolved, short names made long.
void Resolve(const char* path, PathBuffer& resolved) {
    auto query = KernelProc<QueryDosDeviceAProc>("QueryDosDeviceA");
    auto makeLong = KernelProc<GetLongPathNameAProc>("GetLongPathNameA");
    char drive[3] = {path[0], ':', '\0'};
    char device[2 * MAX_PATH];
    PathBuffer drivePath;
    if (!query || !query(drive, device, sizeof device) ||
        !ResolveDriveDevice(path, device, drivePath))
        CopyPath(drivePath, path);
    DWORD length = makeLong ? makeLong(drivePath, resolved, sizeof resolved) : 0;
    if (length == 0 || length >= sizeof resolved)
        CopyPath(resolved, drivePath);
}

} // namespace

void CHeldTree::SetBase(const char* base, bool movable) {
    Release(0);
    m_movable = movable;
    PathBuffer root;
    CopyPath(m_base, base);
    m_baseLength = strlen(m_base);
    m_rootLength = RootOfPath(m_base, root) ? strlen(root) : m_baseLength;
    m_canHold = CanHoldFolders();
    m_resolvedBase[0] = '\0';
    m_verdict = WayVerdict::Held;
}

void CHeldTree::Release(size_t count) {
    while (m_count > count)
        m_held[--m_count].Close();
    if (m_way > m_count)
        m_way = m_count;
}

WayVerdict CHeldTree::HoldWay(PathBuffer& link) {
    size_t at = m_way ? m_ends[m_way - 1] + 1 : m_rootLength;
    Release(m_way);
    CopyPath(m_path, m_base);
    for (m_verdict = WayVerdict::Held; at <= m_baseLength; at = NextCharAt(m_path, at)) {
        if (m_path[at] != '\\' && at < m_baseLength)
            continue;
        m_path[at] = '\0';
        DWORD attributes = GetFileAttributesA(m_path);
        // What does not exist yet, the run makes.
        bool exists = attributes != INVALID_FILE_ATTRIBUTES;
        if (exists && !m_canHold && IsLink(attributes))
            m_verdict = WayVerdict::Link;
        else if (exists && m_canHold && !Hold(at) && m_verdict == WayVerdict::Held)
            m_verdict = WayVerdict::NotHeld;
        if (m_verdict != WayVerdict::Held)
            CopyPath(link, m_path);
        m_path[at] = at < m_baseLength ? '\\' : '\0';
        if (!exists || m_verdict != WayVerdict::Held)
            break;
    }
    m_way = m_count;
    return m_verdict;
}

// Holds m_path's first `end` bytes, a folder, as itself, sharing neither
// write nor delete: opening it to read its list makes the hold count, as
// an open for its attributes alone takes no part in sharing. No link is
// held or entered; above the base a mount point of a whole volume that
// administrators own is held as itself (its owner is read through the hold).
bool CHeldTree::Hold(size_t end) {
    if (m_count == kMostHeld)
        return false;
    // A rename into a folder opens it for writing, sharing checked: the
    // folders of a movable base's way share writing (they hold the next
    // folder, and a folder that holds anything cannot become a link).
    bool base = end == m_baseLength;
    DWORD access = FILE_LIST_DIRECTORY | READ_CONTROL | (m_movable && base ? DELETE : 0);
    DWORD share = FILE_SHARE_READ | (m_movable && OnTheWay(end) && !base ? FILE_SHARE_WRITE : 0);
    CFileHandle folder(OpenAsItself(m_path, access, share));
    if (!folder) {
        if (OnTheWay(end) && IsLink(GetFileAttributesA(m_path)))
            m_verdict = WayVerdict::Link;
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    bool itself = InfoOfItself(folder.Get(), m_path, info);
    DWORD attributes = info.dwFileAttributes;
    // A file where a folder belongs is held too: the run then fails on it
    // as on any file in its way, and it cannot become a link meanwhile.
    bool held = itself;
    if (!itself || IsLink(attributes)) {
        held = itself && OnTheWay(end) && MountMayStay(folder.Get(), end == m_baseLength);
        if (!held && OnTheWay(end) && IsLink(GetFileAttributesA(m_path)))
            m_verdict = WayVerdict::Link;
    }
    if (held && base) {
        Resolve(m_base, m_resolvedBase);
        held = IsWhereRecorded(folder.Get(), m_base);
    }
    if (!held)
        return false;
    m_held[m_count].Attach(folder.Detach());
    m_ends[m_count++] = end;
    return true;
}

// Whether `item`, open by `path` below the base, is what that path names
// there: from Vista on its final path is the base's, resolved, followed by
// the rest of `path`. Before Vista the holds alone protect.
bool CHeldTree::IsWhereRecorded(HANDLE item, const char* path) const {
    if (!HasFinalPaths())
        return true;
    PathBuffer named, expected;
    return FinalPathOf(item, named) && m_resolvedBase[0] &&
           FormatPath(expected, "%s%s", m_resolvedBase, path + m_baseLength) &&
           IsSamePath(named, expected);
}

// Holds every folder from below the root to the one that holds `path`, and
// only those: what is held of an earlier path and lies on this one's way
// stays held. Where folders cannot be held, none of them may be a link.
bool CHeldTree::HoldParentOf(const char* path) {
    const char* slash = FindLastChar(path, '\\');
    if (!Holds(path) || !slash || m_verdict != WayVerdict::Held)
        return false;
    size_t end = (size_t)(slash - path);
    while (m_count > 0) {
        size_t held = m_ends[m_count - 1];
        if (held <= end && (path[held] == '\\') && memcmp(path, m_path, held) == 0)
            break;
        Release(m_count - 1);
    }
    CopyPath(m_path, path);
    size_t at = m_count ? m_ends[m_count - 1] + 1 : m_rootLength;
    for (; at <= end; at = NextCharAt(m_path, at)) {
        if (m_path[at] != '\\')
            continue;
        m_path[at] = '\0';
        bool held = m_canHold ? Hold(at) : !IsLink(GetFileAttributesA(m_path));
        m_path[at] = '\\';
        if (!held)
            return false;
    }
    return true;
}

bool CHeldTree::DeleteFile(const char* path, bool onlyOneName) {
    return strlen(path) > m_baseLength && Remove(path, false, onlyOneName);
}

bool CHeldTree::RemoveFolder(const char* path) {
    return Remove(path, true);
}

// Deletes `path` through a handle that opens it as itself, once it is
// known to be what the record names: the link itself, or a file or folder
// as recorded. Windows 95 and 98 delete by path what is not a link.
bool CHeldTree::Remove(const char* path, bool folder, bool onlyOneName) {
    if (!HoldParentOf(path))
        return false;
    if (!m_canHold) {
        DWORD attributes = GetFileAttributesA(path);
        if (IsLink(attributes))
            return false;
        if (onlyOneName && !folder && LinksOf(path) > 1)
            return false;
        ClearReadOnly(path);
        return (folder ? RemoveDirectoryA(path) : ::DeleteFileA(path)) != FALSE;
    }
    CFileHandle held(OpenAsItself(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    if (!held)
        return false;
    HANDLE item = held.Get();
    BY_HANDLE_FILE_INFORMATION info;
    bool removed = InfoOfItself(item, path, info) &&
                   (IsLink(info.dwFileAttributes) ||
                    folder == ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) &&
                   !(onlyOneName && info.nNumberOfLinks > 1) && IsWhereRecorded(item, path);
    if (removed) {
        ClearReadOnlyOf(item, info);
        removed = DeleteOnClose(item);
    }
    return removed;
}

bool CHeldTree::Move(const char* path, const char* to) {
    if (strlen(path) <= m_baseLength || !HoldParentOf(path))
        return false;
    // Windows 95 and 98 have no links, but Wine set to either shows Unix
    // ones and renames by path what they lead to: they stay.
    if (!m_canHold)
        return !IsLink(GetFileAttributesA(path)) && MoveItem(nullptr, path, to);
    CFileHandle held(OpenAsItself(path, DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    BY_HANDLE_FILE_INFORMATION info;
    return held && InfoOfItself(held.Get(), path, info) && IsWhereRecorded(held.Get(), path) &&
           MoveItem(held.Get(), path, to);
}

HANDLE CHeldTree::BaseHandle() const {
    return m_movable && m_way && m_ends[m_way - 1] == m_baseLength ? m_held[m_way - 1].Get()
                                                                   : nullptr;
}

bool CanHoldFolders() {
    return (GetVersion() & 0x80000000u) == 0;
}

DWORD LinksOf(const char* path) {
    CFileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    return file && GetFileInformationByHandle(file.Get(), &info) ? info.nNumberOfLinks : 0;
}

bool MoveItem(HANDLE item, const char* from, const char* to) {
    if (!item)
        return MoveFileA(from, to) != FALSE;
    // FILE_RENAME_INFORMATION with the target's NT path: "\??\C:\..."
    // or "\??\UNC\server\share\...".
    struct {
        BOOLEAN replace;
        HANDLE root;
        ULONG nameBytes;
        WCHAR name[text::kPathBufferSize + 8];
    } rename = {};
    PathBuffer ntPath;
    bool unc = to[0] == '\\' && to[1] == '\\';
    if (!FormatPath(ntPath, unc ? "\\??\\UNC%s" : "\\??\\%s", unc ? to + 1 : to))
        return false;
    int length = MultiByteToWideChar(CP_ACP, 0, ntPath, -1, rename.name,
                                     sizeof rename.name / sizeof rename.name[0]);
    if (length <= 1)
        return false;
    rename.nameBytes = (ULONG)(length - 1) * sizeof(WCHAR);
    return SetByHandle(item, HandleInfo::Rename, &rename, sizeof rename);
}

bool DeleteOnClose(HANDLE item) {
    BOOLEAN disposition = TRUE; // FILE_DISPOSITION_INFORMATION
    return SetByHandle(item, HandleInfo::Disposition, &disposition, sizeof disposition);
}

void ClearReadOnly(const char* path) {
    if (!CanHoldFolders()) {
        DWORD attributes = GetFileAttributesA(path);
        if (!IsLink(attributes) && (attributes & FILE_ATTRIBUTE_READONLY) && LinksOf(path) <= 1)
            SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
        return;
    }
    CFileHandle item(OpenAsItself(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    BY_HANDLE_FILE_INFORMATION info;
    if (item && InfoOfItself(item.Get(), path, info))
        ClearReadOnlyOf(item.Get(), info);
}

WayVerdict CheckWay(const char* folder, PathBuffer& named) {
    CHeldTree tree(folder);
    return tree.HoldWay(named);
}
