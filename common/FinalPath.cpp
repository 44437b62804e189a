#include "common/FinalPath.h"

#include "platform/Handle.h"
#include "platform/ProcAddress.h"

namespace {

typedef DWORD(WINAPI* GetFinalPathNameByHandleAProc)(HANDLE file, LPSTR path, DWORD size,
                                                     DWORD flags);

GetFinalPathNameByHandleAProc FinalPathCall() {
    return KernelProc<GetFinalPathNameByHandleAProc>("GetFinalPathNameByHandleA");
}

} // namespace

bool HasFinalPaths() {
    return FinalPathCall() != nullptr;
}

bool FinalPathOf(HANDLE handle, PathBuffer& path) {
    auto finalPath = FinalPathCall();
    char named[2 * MAX_PATH];
    // Flags 0: the normalised name, with the drive letter's volume name.
    DWORD length = finalPath ? finalPath(handle, named, sizeof named, 0) : 0;
    return length > 0 && length < sizeof named && PlainFinalPath(named, path);
}

bool FinalFolderPath(const char* folder, PathBuffer& path) {
    CFileHandle handle(CreateFileA(folder, FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle && FinalPathOf(handle.Get(), path);
}
