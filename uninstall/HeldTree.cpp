#include "uninstall/HeldTree.h"

#include <string.h>

#include "install/RoomRules.h"
#include "platform/ProcAddress.h"

namespace {

typedef DWORD(WINAPI* GetFinalPathNameByHandleAProc)(HANDLE file, LPSTR path, DWORD size,
                                                     DWORD flags);

bool IsLink(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Clears the read-only attribute that would stop a removal; a link's
// attributes are its target's business.
void MakeRemovable(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Whether the folder open as `folder` is the one `base` names: its path on
// its volume ends as `base` does after its root. A folder on a mapped or
// substituted drive passes; one reached through a link higher up, which
// leads elsewhere, does not. Systems before Vista cannot tell: the holds
// alone protect there.
bool LeadsTo(HANDLE folder, const char* base, size_t rootLength) {
    auto finalPath = KernelProc<GetFinalPathNameByHandleAProc>("GetFinalPathNameByHandleA");
    if (!finalPath)
        return true;
    char path[2 * MAX_PATH];
    DWORD length = finalPath(folder, path, sizeof path, VOLUME_NAME_NONE);
    const char* tail = base + rootLength - 1; // "\Games\The Vellmor"
    size_t tailLength = strlen(tail);
    return length >= tailLength && length < sizeof path &&
           _stricmp(path + length - tailLength, tail) == 0;
}

} // namespace

CHeldTree::CHeldTree(const char* base) {
    PathBuffer root;
    FormatPath(m_base, "%s", base);
    m_baseLength = strlen(m_base);
    m_rootLength = RootOfPath(m_base, root) ? strlen(root) : m_baseLength;
    // Windows 95 and 98 open no folders; NT 4 has no links, and no flag to
    // open one as itself.
    DWORD version = GetVersion();
    m_canHold = (version & 0x80000000u) == 0;
    m_linkItself = LOBYTE(LOWORD(version)) >= 5 ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
}

void CHeldTree::Release(size_t count) {
    while (m_count > count)
        CloseHandle(m_held[--m_count]);
}

// Holds m_path's first `end` bytes, a folder. Opening it to read its list
// makes the hold count: an open for its attributes alone takes no part in
// sharing. From the base down, a link is neither held nor entered.
bool CHeldTree::Hold(size_t end) {
    bool inTree = end >= m_baseLength;
    if (m_count == kMostHeld || (inTree && IsLink(m_path)))
        return false;
    HANDLE folder = CreateFileA(m_path, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | (inTree ? m_linkItself : 0), nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (inTree && (!GetFileInformationByHandle(folder, &info) ||
                   (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                   (end == m_baseLength && !LeadsTo(folder, m_base, m_rootLength)))) {
        CloseHandle(folder);
        return false;
    }
    m_held[m_count] = folder;
    m_ends[m_count++] = end;
    return true;
}

// Holds every folder from below the root to the one that holds `path`, and
// only those: what is held of an earlier path and lies on this one's way
// stays held.
bool CHeldTree::HoldParentOf(const char* path) {
    const char* slash = strrchr(path, '\\');
    if (!Holds(path) || !slash)
        return false;
    size_t end = (size_t)(slash - path);
    while (m_count > 0) {
        size_t held = m_ends[m_count - 1];
        if (held <= end && (path[held] == '\\') && memcmp(path, m_path, held) == 0)
            break;
        Release(m_count - 1);
    }
    if (!m_canHold)
        return true;
    FormatPath(m_path, "%s", path);
    for (size_t at = m_count ? m_ends[m_count - 1] + 1 : m_rootLength; at <= end; ++at) {
        if (m_path[at] != '\\')
            continue;
        m_path[at] = '\0';
        bool held = Hold(at);
        m_path[at] = '\\';
        if (!held)
            return false;
    }
    return true;
}

bool CHeldTree::DeleteFile(const char* path) {
    if (!HoldParentOf(path) || (size_t)(strlen(path)) <= m_baseLength)
        return false;
    MakeRemovable(path);
    return ::DeleteFileA(path) != FALSE;
}

bool CHeldTree::RemoveFolder(const char* path) {
    if (!HoldParentOf(path))
        return false;
    MakeRemovable(path);
    return RemoveDirectoryA(path) != FALSE;
}
