#include "Process.h"

#include <tlhelp32.h>

#include "Paths.h"

namespace e2e {

using windriver::kTimeoutMs;

namespace {

// Makes a new file in the scratch folder for a program's output, one that
// the program can inherit, and gives its path in `path`.
HANDLE NewOutputFile(std::string& path, const Where& where) {
    static int counter = 0;
    path = JoinPath(ScratchFolder(), "output-" + std::to_string(GetCurrentProcessId()) + "-" +
                                         std::to_string(++counter) + ".txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherit, CREATE_ALWAYS, 0, nullptr);
    Require(file != INVALID_HANDLE_VALUE, where, "cannot create " + path);
    return file;
}

// Sets e2e_iconhook.dll's hook for every program of the prefix, once, before
// the first start: a program's message boxes then name their icons.
void NameMessageBoxIcons(const Where& where) {
    static HHOOK hook = nullptr;
    if (hook)
        return;
    HMODULE library = LoadLibraryA(windriver::WindowsPath(E2E_ICONHOOK_DLL).c_str());
    auto proc = library ? reinterpret_cast<HOOKPROC>(
                              reinterpret_cast<void*>(GetProcAddress(library, "NameIcons")))
                        : nullptr;
    hook = proc ? SetWindowsHookExA(WH_CALLWNDPROC, proc, library, 0) : nullptr;
    Require(hook != nullptr, where, "cannot set the hook of e2e_iconhook.dll");
}

} // namespace

StartOptions StartIn(const std::string& folder, Where where) {
    MakeFolders(folder, where);
    StartOptions options;
    options.currentFolder = folder;
    return options;
}

Process Process::Start(const std::string& program, const StartOptions& options, Where where) {
    std::string commandLine = "\"" + program + "\"";
    if (!options.arguments.empty())
        commandLine += " " + options.arguments;

    // Wine starts its desktop process for the first program of a prefix that
    // needs the desktop window. Bring it up here, before the program, so that
    // the program and this test's window searches never start it at once.
    Require(GetDesktopWindow() != nullptr, where, "Wine's desktop window did not come up");
    NameMessageBoxIcons(where);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Process process;
    HANDLE output = nullptr;
    if (options.captureOutput) {
        output = NewOutputFile(process.outputPath_, where);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    BOOL started = CreateProcessA(
        program.c_str(), &commandLine[0], nullptr, nullptr, options.captureOutput, 0, nullptr,
        options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(), &startup,
        &process.info_);
    DWORD error = GetLastError();
    if (output)
        CloseHandle(output);
    Require(started, where, "cannot start " + program + " (error " + std::to_string(error) + ")");
    return process;
}

Process::Process(Process&& other) noexcept
    : info_(other.info_), outputPath_(std::move(other.outputPath_)) {
    other.info_ = PROCESS_INFORMATION{};
}

Process::~Process() {
    if (!info_.hProcess)
        return;
    if (IsRunning())
        Kill();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::WaitForExit(DWORD milliseconds) {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool Process::IsRunning() const {
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Process::Kill() {
    TerminateProcess(info_.hProcess, 0xDEAD);
    WaitForSingleObject(info_.hProcess, kTimeoutMs);
}

std::string Process::Output() const {
    if (outputPath_.empty())
        return "";
    return ReadWholeFile(outputPath_);
}

bool Process::WaitForOutput(const std::string& text, DWORD milliseconds, Where where) {
    bool found = false;
    At(where, [&] {
        windriver::WaitUntil(
            [&] {
                bool ended = !IsRunning();
                found = Output().find(text) != std::string::npos;
                return found || ended;
            },
            "the output " + text, milliseconds);
    });
    return found;
}

RunResult RunProgram(const std::string& program, const std::string& arguments,
                     const std::string& currentFolder, DWORD timeoutMs, Where where) {
    StartOptions options;
    options.arguments = arguments;
    options.currentFolder = currentFolder;
    options.captureOutput = true;
    Process process = Process::Start(program, options, where);
    RunResult result;
    result.finished = process.WaitForExit(timeoutMs);
    if (!result.finished)
        process.Kill();
    result.exitCode = process.ExitCode();
    result.output = process.Output();
    return result;
}

namespace {

// The name of a running program that process `parentId` started, or "".
std::string RunningChildOf(DWORD parentId, const Where& where) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    Require(snapshot != INVALID_HANDLE_VALUE, where, "cannot list the processes");
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    std::string child;
    for (BOOL more = Process32First(snapshot, &entry); more && child.empty();
         more = Process32Next(snapshot, &entry)) {
        // Wine starts its desktop process from the first program that needs
        // the desktop, which may be setup; it lives as long as the prefix.
        if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId &&
            _stricmp(entry.szExeFile, "explorer.exe") != 0)
            child = entry.szExeFile;
    }
    CloseHandle(snapshot);
    return child;
}

} // namespace

void WaitForProgramsStartedBy(DWORD parentId, Where where) {
    std::string child;
    try {
        windriver::WaitUntil(
            [&] {
                child = RunningChildOf(parentId, where);
                return child.empty();
            },
            "the programs process " + std::to_string(parentId) + " started to end");
    } catch (const Stopped&) {
        throw;
    } catch (const std::exception& error) {
        Fail(where, std::string(error.what()) + "; still running: " + child);
    }
}

std::string CurrentFolderOf(HANDLE process) {
    typedef LONG(WINAPI * QueryProcess)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    struct {
        LONG exitStatus;
        void* peb;
        ULONG_PTR rest[4];
    } basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0)
        return "<unreadable>";
    // 32-bit layouts: PEB.ProcessParameters at 0x10, the current folder's
    // UNICODE_STRING at 0x24 of the parameters.
    void* parameters = nullptr;
    struct {
        USHORT length;
        USHORT maximum;
        WCHAR* buffer;
    } folder{};
    if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + 0x10, &parameters,
                           sizeof parameters, nullptr) ||
        !ReadProcessMemory(process, static_cast<char*>(parameters) + 0x24, &folder, sizeof folder,
                           nullptr))
        return "<unreadable>";
    std::wstring wide(folder.length / sizeof(WCHAR), L'\0');
    if (!ReadProcessMemory(process, folder.buffer, &wide[0], folder.length, nullptr))
        return "<unreadable>";
    std::string text(wide.begin(), wide.end());
    if (text.size() > 3 && text.back() == '\\')
        text.pop_back();
    return text;
}

} // namespace e2e
