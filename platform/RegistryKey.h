#pragma once
// An open registry key, closed when it goes out of scope, with the string
// reads and writes setup makes.

#include <windows.h>

class CRegistryKey {
  public:
    CRegistryKey() : m_key(nullptr) {}
    ~CRegistryKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool Open(HKEY parent, const char* name) {
        return RegOpenKeyA(parent, name, &m_key) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const char* name) {
        return RegCreateKeyA(parent, name, &m_key) == ERROR_SUCCESS;
    }

    // Reads a REG_SZ value that fits `size` bytes with its terminating NUL
    // and is not empty. Anything else (absent, another type, too long,
    // unterminated, empty) counts as absent: no byte past the buffer is
    // ever read or written.
    bool ReadString(const char* name, char* value, DWORD size) const;

    // Writes `text` as REG_SZ, its terminating NUL included.
    bool WriteString(const char* name, const char* text);

  private:
    HKEY m_key;
};
