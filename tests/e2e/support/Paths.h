#pragma once
// Where things are during an end-to-end test: the per-test folder made by
// the runner (E2E_ROOT), its drive folders and scratch folder, the built
// programs; and small file helpers. Failures are reported at the caller's
// line and stop the test (Where.h).

#include <windows.h>

#include <functional>
#include <string>

#include "Where.h"
#include "tools/windriver/Wait.h"
#include "tools/windriver/WindowsPath.h"

namespace e2e {

// The CD-ROM drives of the test prefix, in drive-letter order, and its
// fixed disk. Each is a folder of the per-test folder (DriveFolder).
constexpr const char kCdDrives[] = "DEF";
constexpr char kFixedDrive = 'G';

// The folder behind drive `letter` (one of kCdDrives or kFixedDrive).
std::string DriveFolder(char letter);
// A folder for the test's own files, seen by Linux-side checks as
// $E2E_ROOT/scratch.
std::string ScratchFolder();

// The built programs.
std::string SetupExe();
std::string ProbeExe();
std::string StubExe();
// The stand-in Glide driver; when loaded it appends its own path to
// kGlideLoadLog, so a test sees which copy ran.
std::string GlideDll();
constexpr const char kGlideLoadLog[] = "C:\\glide-loads.log";
// Where a Glide driver is installed: glide2x.dll in the system folder.
std::string SystemGlidePath(Where where = Where::Here());

// A Windows path of the prefix ("C:\\x", "Z:\\tmp\\y") as Linux sees it,
// through the prefix's dosdevices links.
std::string LinuxPath(const std::string& windowsPath, Where where = Where::Here());
// Runs `script` with /bin/sh on Linux and gives its exit status; fails when
// it does not end within `timeoutMs`. Wine starts a Linux program like any
// other, but without a process handle to wait on: the status comes back
// through a file in the scratch folder.
DWORD RunLinuxShell(const std::string& script, DWORD timeoutMs = windriver::kTimeoutMs,
                    Where where = Where::Here());

std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates `path` and its missing parents.
void MakeFolders(const std::string& path, Where where = Where::Here());
// Calls `visit` for each file and folder directly in `folder`.
void ForEachEntry(const std::string& folder,
                  const std::function<void(const std::string& path, bool isFolder)>& visit);
// Removes everything below `folder` (read-only files too), keeping it.
void EmptyFolder(const std::string& folder, Where where = Where::Here());
std::string ReadWholeFile(const std::string& path, Where where = Where::Here());
// Reads a file that others may be writing; false while one holds it without
// sharing it. A missing file reads as empty.
bool ReadFileIfFree(const std::string& path, std::string& contents, Where where = Where::Here());
void WriteWholeFile(const std::string& path, const std::string& contents,
                    Where where = Where::Here());
void CopyOneFile(const std::string& from, const std::string& to, Where where = Where::Here());

} // namespace e2e
