#include "Paths.h"

#include <windows.h>

#include <stdlib.h>

namespace e2e {

using windriver::WindowsPath;

namespace {

[[noreturn]] void FailOn(const Where& where, const std::string& what, const std::string& path) {
    Fail(where, what + " " + path + " (error " + std::to_string(GetLastError()) + ")");
}

// The per-test folder (Windows path); fails when not run by the runner.
std::string TestRoot() {
    const char* root = getenv("E2E_ROOT");
    Require(root && *root, Where::Here(), "E2E_ROOT is not set: run the test through run-test.sh");
    return WindowsPath(root);
}

} // namespace

std::string DriveFolder(char letter) {
    char lower = static_cast<char>(letter | 0x20);
    return TestRoot() + "\\drives\\" + std::string(1, lower);
}

std::string ScratchFolder() {
    std::string folder = TestRoot() + "\\scratch";
    MakeFolders(folder);
    return folder;
}

std::string SetupExe() {
    return WindowsPath(E2E_SETUP_EXE);
}
std::string ProbeExe() {
    return WindowsPath(E2E_PROBE_EXE);
}
std::string StubExe() {
    return WindowsPath(E2E_STUB_EXE);
}
std::string GlideDll() {
    return WindowsPath(E2E_GLIDE_DLL);
}
std::string SystemGlidePath(Where where) {
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    Require(length != 0 && length < MAX_PATH, where, "no system folder");
    return JoinPath(folder, "glide2x.dll");
}

std::string LinuxPath(const std::string& windowsPath, Where where) {
    Require(windowsPath.size() >= 2 && windowsPath[1] == ':', where,
            "not a drive path: " + windowsPath);
    std::string rest = windowsPath.substr(2);
    for (char& c : rest) {
        if (c == '\\')
            c = '/';
    }
    char drive = static_cast<char>(windowsPath[0] | 0x20);
    if (drive == 'z')
        return rest.empty() ? "/" : rest;
    const char* prefix = getenv("WINEPREFIX");
    Require(prefix && *prefix, where, "WINEPREFIX is not set: run the test through run-test.sh");
    return std::string(prefix) + "/dosdevices/" + drive + ":" + rest;
}

DWORD RunLinuxShell(const std::string& script, DWORD timeoutMs, Where where) {
    static int counter = 0;
    std::string base = JoinPath(ScratchFolder(), "linux-" + std::to_string(GetCurrentProcessId()) +
                                                     "-" + std::to_string(++counter));
    std::string status = LinuxPath(base + ".status", where);
    // The status file appears whole (mv), never half written.
    WriteWholeFile(base + ".sh",
                   "(\n" + script + "\n)\necho $? > '" + status + ".new'\nmv '" + status +
                       ".new' '" + status + "'\n",
                   where);
    std::string commandLine = "Z:\\bin\\sh \"" + LinuxPath(base + ".sh", where) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        FailOn(where, "cannot run /bin/sh for", base + ".sh");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    At(where, [&] {
        windriver::WaitUntil([&] { return FileExists(base + ".status"); },
                             "the end on Linux of: " + script, timeoutMs);
    });
    return static_cast<DWORD>(atoi(ReadWholeFile(base + ".status", where).c_str()));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\')
        return folder + name;
    return folder + "\\" + name;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::string& path, Where where) {
    if (path.empty() || FolderExists(path))
        return;
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && slash > 2)
        MakeFolders(path.substr(0, slash), where);
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        FailOn(where, "cannot create", path);
}

void ForEachEntry(const std::string& folder,
                  const std::function<void(const std::string& path, bool isFolder)>& visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            visit(JoinPath(folder, name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void EmptyFolder(const std::string& folder, Where where) {
    ForEachEntry(folder, [&](const std::string& path, bool isFolder) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder) {
            EmptyFolder(path, where);
            if (!RemoveDirectoryA(path.c_str()))
                FailOn(where, "cannot remove", path);
        } else if (!DeleteFileA(path.c_str())) {
            FailOn(where, "cannot delete", path);
        }
    });
}

bool ReadFileIfFree(const std::string& path, std::string& contents, Where where) {
    contents.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return false;
        if (error == ERROR_FILE_NOT_FOUND)
            return true;
        FailOn(where, "cannot open", path);
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        contents.append(buffer, got);
    CloseHandle(file);
    return true;
}

std::string ReadWholeFile(const std::string& path, Where where) {
    std::string contents;
    if (!FileExists(path) || !ReadFileIfFree(path, contents, where))
        FailOn(where, "cannot open", path);
    return contents;
}

void WriteWholeFile(const std::string& path, const std::string& contents, Where where) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        FailOn(where, "cannot write", path);
    DWORD written = 0;
    BOOL ok =
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != contents.size())
        FailOn(where, "short write to", path);
}

void CopyOneFile(const std::string& from, const std::string& to, Where where) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        FailOn(where, "cannot copy " + from + " to", to);
}

} // namespace e2e
