#pragma once
// Where the built Setup.exe lies, as Windows sees it.

#include <string>

#include "Paths.h"

inline std::string SetupExePath() {
    return e2e::WindowsPath(SETUP_EXE_PATH);
}
