#pragma once
// Reading a shell link (".lnk") back through the shell's own link object.

#include <windows.h>

#include <string>

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

} // namespace e2e
