#pragma once
// A Linux path as a program under Wine sees it: through Z:, where Wine maps
// the Linux root ("/a/b" is "Z:\a\b").

#include <string>

namespace windriver {

inline std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

} // namespace windriver
