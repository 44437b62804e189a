#pragma once
// Where the built Setup.exe lies, as a Windows path.

#include "tools/windriver/WindowsPath.h"

inline std::string SetupExePath() {
    return windriver::WindowsPath(SETUP_EXE_PATH);
}
