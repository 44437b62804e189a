#include "install/CopyChecks.h"

#include "common/PathRules.h"
#include "install/SpaceRules.h"
#include "platform/ProcAddress.h"

namespace {

typedef BOOL(WINAPI* GetDiskFreeSpaceExAProc)(LPCSTR folder, PULARGE_INTEGER available,
                                              PULARGE_INTEGER total, PULARGE_INTEGER free);

// What is already at `installDir`: one walk of its folders, sorted. A
// lookup per file would cost a search of its folder each (half a second
// for 2,000 files under Wine).
bool ListInstalled(const char* installDir, ProductFiles& installed) {
    if (!installed.List(installDir, false))
        return false;
    installed.SortByPath();
    return true;
}

} // namespace

unsigned long long BytesToWrite(const ProductFiles& files, const char* installDir) {
    ProductFiles installed;
    bool any = ListInstalled(installDir, installed);
    unsigned long long total = 0;
    for (size_t i = 0; i < files.Count(); ++i) {
        unsigned long long existing = 0;
        bool folder = false;
        bool exists = any && installed.Find(files.Path(i), existing, folder) && !folder;
        if (!files.IsFolder(i))
            total += AddedBytes(files.Size(i), exists, existing);
    }
    return total;
}

bool FreeBytesFor(const char* path, unsigned long long& freeBytes) {
    PathBuffer folder;
    if (!NearestExistingFolder(path, FolderExists, folder))
        return false;
    // The first Windows 95 lacks the call that knows drives over 2 GB and
    // the user's quota.
    auto getFreeEx = KernelProc<GetDiskFreeSpaceExAProc>("GetDiskFreeSpaceExA");
    if (getFreeEx) {
        ULARGE_INTEGER available;
        if (!getFreeEx(folder, &available, nullptr, nullptr))
            return false;
        freeBytes = available.QuadPart;
        return true;
    }
    PathBuffer root;
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    if (!RootOfPath(folder, root) ||
        !GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    freeBytes = FreeBytesFromClusters(sectorsPerCluster, bytesPerSector, freeClusters);
    return true;
}

bool CopiedInFull(const ProductFiles& files, const char* installDir) {
    ProductFiles installed;
    if (!ListInstalled(installDir, installed))
        return false;
    for (size_t i = 0; i < files.Count(); ++i) {
        unsigned long long size = 0;
        bool folder = false;
        if (!installed.Find(files.Path(i), size, folder) || folder != files.IsFolder(i) ||
            (!folder && size < files.Size(i)))
            return false;
    }
    return true;
}
