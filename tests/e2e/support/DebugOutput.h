#pragma once
// Reading what a process writes with OutputDebugString while no debugger is
// attached: the system's debug-output buffer ("DBWIN_BUFFER" with its two
// events), which Wine serves as Windows does. One capture at a time per
// prefix; texts of every process of the prefix arrive.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class DebugOutputCapture {
  public:
    // Starts listening; throws when another listener holds the buffer.
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // The texts written so far, one per OutputDebugString call, from
    // process `pid` (0: from any). Waits until the listener has stored
    // everything written before the call.
    std::vector<std::string> Texts(DWORD pid = 0);

  private:
    struct Entry {
        DWORD pid;
        std::string text;
    };
    static DWORD WINAPI Listen(LPVOID self);
    void CatchUp();

    HANDLE mutex_ = nullptr;
    HANDLE mapping_ = nullptr;
    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    const char* view_ = nullptr;
    mutable CRITICAL_SECTION lock_;
    std::vector<Entry> entries_;
    unsigned sentinelsWritten_ = 0;
    unsigned sentinelsStored_ = 0;
};

} // namespace e2e
