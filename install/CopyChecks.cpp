#include "install/CopyChecks.h"

#include <string.h>

#include "common/PathRules.h"
#include "install/SpaceRules.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"

namespace {

typedef BOOL(WINAPI* GetDiskFreeSpaceExAProc)(LPCSTR folder, PULARGE_INTEGER available,
                                              PULARGE_INTEGER total, PULARGE_INTEGER free);

void ClearReadOnlyOfOwn(const char* path, DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

unsigned long long BytesToWrite(const ProductFiles& files) {
    unsigned long long total = 0;
    for (size_t i = 0; i < files.Count(); ++i)
        total += files.Size(i);
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

bool CopiedInFullAndWritable(const ProductFiles& files, const char* copy) {
    struct Walk {
        const ProductFiles* files;
        size_t below;
        size_t found;
    } walk = {&files, strlen(copy) + 1, 0};
    auto check = [](void* context, const char* path, const CFindFile& entry) {
        auto* walk = static_cast<Walk*>(context);
        ClearReadOnlyOfOwn(path, entry.Attributes());
        unsigned long long size = 0;
        bool folder = false;
        if (walk->files->Find(path + walk->below, size, folder) && folder == entry.IsFolder() &&
            (folder || entry.Size() >= size))
            ++walk->found;
        return true;
    };
    ClearReadOnlyOfOwn(copy, GetFileAttributesA(copy));
    return FolderExists(copy) && WalkBelow(copy, true, check, &walk) && walk.found == files.Count();
}
