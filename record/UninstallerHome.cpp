#include "record/UninstallerHome.h"

#include <windows.h>

#include <shlobj.h>
#include <stdlib.h>

#include "common/Elevation.h"
#include "common/ExitCodes.h"
#include "common/FinalPath.h"
#include "common/Names.h"
#include "platform/RegistryKey.h"
#include "platform/ShellItems.h"
#include "platform/WholeFile.h"
#include "record/UninstallRecord.h"
#include "text/HeapBlock.h"

namespace {

// Another installation's record in each of the folders tried first would
// take more than any machine holds.
const unsigned kHomesTried = 8;

bool ProgramFilesFolder(PathBuffer& folder) {
    // The shell names it from Windows 2000 on; before, only the registry.
    if (SpecialFolderPath(nullptr, CSIDL_PROGRAM_FILES, folder))
        return true;
    CRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion") &&
           key.ReadString("ProgramFilesDir", folder, sizeof folder);
}

} // namespace

bool UninstallersFolder(PathBuffer& folder) {
    PathBuffer programFiles;
    return ProgramFilesFolder(programFiles) && PathInFolder(folder, programFiles, kPublisher);
}

bool IsBelowUninstallers(const char* folder) {
    PathBuffer uninstallers, resolvedFolder, resolvedUninstallers;
    if (!UninstallersFolder(uninstallers))
        return false;
    bool resolved = FinalFolderPath(folder, resolvedFolder) &&
                    FinalFolderPath(uninstallers, resolvedUninstallers);
    const char* below = resolved ? resolvedFolder : folder;
    const char* above = resolved ? resolvedUninstallers : uninstallers;
    return IsSameOrBelow(below, above) && !IsSameOrBelow(above, below);
}

bool IsUninstallerAtHome(const char* self, const char* home) {
    PathBuffer resolved;
    // FinalFolderPath opens a file as well as a folder.
    return (!HasFinalPaths() || (FinalFolderPath(self, resolved) && IsSamePath(resolved, self))) &&
           IsBelowUninstallers(home);
}

bool FindUninstallerHome(const char* installDir, PathBuffer& home) {
    PathBuffer uninstallers, record;
    if (!UninstallersFolder(uninstallers))
        return false;
    for (unsigned attempt = 0; attempt < kHomesTried; ++attempt) {
        if (!FormatUninstallerHome(home, uninstallers, installDir, attempt) ||
            !FormatRecordPath(record, home))
            return false;
        size_t size = 0;
        CHeapBlock<char> data(ReadWholeFile(record, kMaxRecordSize, size));
        // A folder without a record is an uninstaller's that has removed its
        // installation and goes at the next restart, or one that could not
        // be set up: neither is free, nor one with a record too large to
        // read.
        if (data ? IsRecordOf(data, size, installDir)
                 : GetFileAttributesA(home) == INVALID_FILE_ATTRIBUTES)
            return true;
    }
    return false;
}

bool OpenRunLog(const char* path, const char* installDir, RunLog& log) {
    PathBuffer uninstallers;
    bool haveUninstallers = UninstallersFolder(uninstallers);
    return log.Open(path, installDir, haveUninstallers ? uninstallers : nullptr);
}

namespace {

// The elevated part's log, in the folder of every uninstaller, where only
// administrators may write.
bool ElevatedLogPath(PathBuffer& path) {
    PathBuffer uninstallers;
    return UninstallersFolder(uninstallers) && PathInFolder(path, uninstallers, kElevatedLog);
}

} // namespace

bool OpenPartLog(const SetupOptions& options, const char* installDir, RunLog& log) {
    if (!options.elevated)
        return !options.log[0] || OpenRunLog(options.log, installDir, log);
    PathBuffer uninstallers, path;
    if (UninstallersFolder(uninstallers) && PathInFolder(path, uninstallers, kElevatedLog)) {
        CreateDirectoryA(uninstallers, nullptr);
        log.OpenElevated(path);
    }
    return true;
}

int RunElevatedPartInto(const SetupOptions& options, RunLog& log, DWORD* refused) {
    PathBuffer path;
    if (!ElevatedLogPath(path))
        path[0] = '\0';
    log.BeforeElevatedPart(path);
    int result = RunElevatedPart(options, refused);
    if (result != kExitNotElevated)
        log.AfterElevatedPart(path);
    return result;
}
