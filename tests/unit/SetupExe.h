#pragma once
// Where the built Setup.exe lies, as a Windows path (Wine maps the Linux
// root as Z:).

#include <string>

inline std::string SetupExePath() {
    std::string path = std::string("Z:") + SETUP_EXE_PATH;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}
