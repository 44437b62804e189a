#pragma once
// Starting programs the way the shell would (CreateProcess), with bounded
// waits. A Process still running when it is destroyed is killed, so a
// failing test leaves nothing behind.

#include <windows.h>

#include <string>

#include "Where.h"
#include "tools/windriver/Wait.h"

namespace e2e {

struct StartOptions {
    std::string arguments;      // appended after the quoted program path
    std::string currentFolder;  // empty: the test's own
    bool captureOutput = false; // stdout and stderr into a file, see Output()
};

// Options for a start in `folder`, which is made first when missing.
StartOptions StartIn(const std::string& folder, Where where = Where::Here());

class Process {
  public:
    // Starts `program`; fails when it cannot be started.
    static Process Start(const std::string& program, const StartOptions& options = {},
                         Where where = Where::Here());

    Process(Process&& other) noexcept;
    Process& operator=(Process&&) = delete;
    Process(const Process&) = delete;
    ~Process();

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // True when the program ended within `milliseconds`.
    bool WaitForExit(DWORD milliseconds);
    bool IsRunning() const;
    // STILL_ACTIVE while running; -1 reads as 0xFFFFFFFF.
    DWORD ExitCode() const;
    void Kill();
    // What the program wrote so far (captureOutput only).
    std::string Output() const;
    // Waits until the output holds `text`; false when the program ended
    // without writing it; fails when it is still running after `milliseconds`.
    bool WaitForOutput(const std::string& text, DWORD milliseconds = windriver::kTimeoutMs,
                       Where where = Where::Here());

  private:
    Process() = default;
    PROCESS_INFORMATION info_{};
    std::string outputPath_;
};

struct RunResult {
    bool finished = false; // false: killed after the timeout
    DWORD exitCode = 0;
    std::string output;
};

// Runs `program` to its end with its output captured; kills it after
// `timeoutMs`.
RunResult RunProgram(const std::string& program, const std::string& arguments,
                     const std::string& currentFolder = "", DWORD timeoutMs = windriver::kTimeoutMs,
                     Where where = Where::Here());

// Waits until every program that process `parentId` started has ended, so
// that whatever they leave behind (the stub log) is complete.
void WaitForProgramsStartedBy(DWORD parentId, Where where = Where::Here());

// The current folder of another process, read from its process parameters
// (without the trailing backslash, except at a drive root).
std::string CurrentFolderOf(HANDLE process);

} // namespace e2e
