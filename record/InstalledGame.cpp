#include "record/InstalledGame.h"

#include <windows.h>

#include "common/CommandLine.h"
#include "common/Names.h"
#include "platform/Handle.h"
#include "platform/RegistryKey.h"
#include "text/Format.h"

bool RecordInstallation(const char* installDir) {
    CRegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kRegistryKey) &&
           key.WriteString(kInstallPathValue, installDir);
}

bool RecordUninstallEntry(const char* installDir, const char* home, const char* version,
                          unsigned long sizeKb) {
    char uninstall[MAX_PATH + 16], quiet[MAX_PATH + 32];
    PathBuffer icon;
    CRegistryKey key;
    return FormatPath(uninstall, "\"%s\\%s\" /%s", home, kUninstallExe, kSwitchUninstall) &&
           FormatPath(quiet, "%s /%s", uninstall, kSwitchVerySilent) &&
           PathInFolder(icon, installDir, kGameExe) &&
           key.Create(HKEY_LOCAL_MACHINE, kUninstallKey) &&
           key.WriteString("DisplayName", kProductFolder) &&
           key.WriteString("UninstallString", uninstall) &&
           key.WriteString("QuietUninstallString", quiet) &&
           key.WriteString("InstallLocation", installDir) && key.WriteString("DisplayIcon", icon) &&
           key.WriteString("Publisher", kPublisher) && key.WriteString("DisplayVersion", version) &&
           key.WriteDword("EstimatedSize", sizeKb) && key.WriteDword("NoModify", 1) &&
           key.WriteDword("NoRepair", 1);
}

namespace {

// Deletes `name` below `parent` when it holds nothing; whether it is gone.
bool DeleteIfEmpty(const char* parent, const char* name) {
    CRegistryKey key;
    char path[MAX_PATH];
    if (!PathInFolder(path, parent, name) || !key.Open(HKEY_LOCAL_MACHINE, path))
        return true;
    if (!key.IsEmpty())
        return false;
    key.Close();
    CRegistryKey above;
    return above.Open(HKEY_LOCAL_MACHINE, parent) && above.DeleteKey(name);
}

// Whether the value `value` of the key `name` names `folder`.
bool ValueNamesFolder(const char* name, const char* value, const char* folder) {
    CRegistryKey key;
    PathBuffer named;
    return key.Open(HKEY_LOCAL_MACHINE, name) && key.ReadString(value, named, sizeof named) &&
           IsSamePath(named, folder);
}

} // namespace

bool ForgetInstallation(const char* installDir) {
    bool forgotten = true;
    if (ValueNamesFolder(kRegistryKey, kInstallPathValue, installDir)) {
        CRegistryKey key;
        forgotten =
            key.Open(HKEY_LOCAL_MACHINE, kRegistryKey) && key.DeleteValue(kInstallPathValue);
    }
    DeleteIfEmpty(kMakerKey, kProductFolder);
    DeleteIfEmpty("Software", kPublisher);
    if (ValueNamesFolder(kUninstallKey, "InstallLocation", installDir)) {
        CRegistryKey entries;
        forgotten = entries.Open(HKEY_LOCAL_MACHINE,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall") &&
                    entries.DeleteKey(kProductFolder) && forgotten;
    }
    return forgotten;
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
        CopyPath(root, kDefaultInstallRoot);
}

bool IsGameIn(const char* folder) {
    PathBuffer game;
    if (!PathInFolder(game, folder, kGameExe))
        return false;
    CFileHandle file(CreateFileA(game, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return bool(file);
}
