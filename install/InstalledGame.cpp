#include "install/InstalledGame.h"

#include <windows.h>

#include "install/Names.h"
#include "platform/RegistryKey.h"

bool RecordInstallation(const char* installDir) {
    CRegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kRegistryKey) &&
           key.WriteString(kInstallPathValue, installDir);
}

bool RecordedInstallDir(PathBuffer& folder) {
    CRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kRegistryKey) &&
           key.ReadString(kInstallPathValue, folder, sizeof folder);
}

void OfferedInstallRoot(PathBuffer& root) {
    PathBuffer recorded;
    if (RecordedInstallDir(recorded))
        RootOfRecordedFolder(recorded, root);
    else
        FormatPath(root, "%s", kDefaultInstallRoot);
}

bool IsGameIn(const char* folder) {
    PathBuffer game;
    if (!FormatPath(game, "%s\\%s", folder, kGameExe))
        return false;
    HANDLE file = CreateFileA(game, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}
