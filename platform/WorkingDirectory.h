#pragma once
// Saves the process's working directory and restores it when it goes out of
// scope, on every path.

#include <windows.h>

class CWorkingDirectory {
  public:
    CWorkingDirectory() { m_saved = GetCurrentDirectoryA(sizeof m_path, m_path); }
    ~CWorkingDirectory() { Restore(); }
    // Goes back to the saved directory now (and again when it goes out of
    // scope).
    void Restore() {
        if (m_saved > 0 && m_saved < sizeof m_path)
            SetCurrentDirectoryA(m_path);
    }
    CWorkingDirectory(const CWorkingDirectory&) = delete;
    CWorkingDirectory& operator=(const CWorkingDirectory&) = delete;

  private:
    char m_path[MAX_PATH];
    DWORD m_saved;
};
