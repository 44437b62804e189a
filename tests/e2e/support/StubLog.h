#pragma once
// The start log of the stub programs (C:\stub-starts.log): one line per
// start, written by the stub itself.

#include <windows.h>

#include <string>
#include <vector>

#include "Where.h"

namespace e2e {

struct StubStart {
    std::string program;          // the stub's own path (GetModuleFileName)
    std::string currentDirectory; // without a trailing backslash except at a root
    DWORD parentId;               // the process that started it (0: not found)
    std::string parentProgram;    // that process's file name ("explorer.exe")
    std::string commandLine;      // as the stub got it
};

std::vector<StubStart> ReadStubStarts(Where where = Where::Here());
// Waits until the log holds at least `count` starts; returns them. Fails
// when they do not come.
std::vector<StubStart> WaitForStubStarts(size_t count, Where where = Where::Here());
void ClearStubStarts();

} // namespace e2e
