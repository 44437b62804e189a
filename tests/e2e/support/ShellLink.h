#pragma once
// The shell's side of an installation: shell links (".lnk") read back
// through the shell's own link object, and the user's Programs folder.

#include <windows.h>

#include <string>

#include "Registry.h"

namespace e2e {

struct ShellLinkInfo {
    HRESULT loaded = E_FAIL; // IPersistFile::Load's result
    std::string target;      // as stored (SLGP_RAWPATH)
    std::string description;
    std::string workingDirectory;
    std::string arguments;
};

// Loads the link file at `path` with IShellLinkA / IPersistFile::Load. COM is
// initialised for the call only.
ShellLinkInfo ReadShellLink(const std::string& path);
// Checks that the link at `path` loads and has these properties, without
// arguments; a failure at the caller's line says what it has instead.
void ExpectLink(const std::string& path, const std::string& target, const std::string& description,
                const std::string& workingDirectory, Where where = Where::Here());

// While it lives, the user's and all users' Programs folders are registered
// on a drive that does not exist ("Q:"), so that the shell can give neither.
class ProgramsFolderOnMissingDrive {
  public:
    explicit ProgramsFolderOnMissingDrive(Where where = Where::Here());
    ~ProgramsFolderOnMissingDrive();
    ProgramsFolderOnMissingDrive(const ProgramsFolderOnMissingDrive&) = delete;
    ProgramsFolderOnMissingDrive& operator=(const ProgramsFolderOnMissingDrive&) = delete;

  private:
    RegistryValue savedUser_;
    RegistryValue savedCommon_;
};

} // namespace e2e
