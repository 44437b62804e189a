#pragma once
// An open registry key, closed when it goes out of scope, with the string
// reads and writes setup makes. Open and Create close any key held first;
// after a failure the object holds none.

#include <windows.h>

class CRegistryKey {
  public:
    CRegistryKey() : m_key(nullptr) {}
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool Open(HKEY parent, const char* name) {
        Close();
        return RegOpenKeyA(parent, name, &m_key) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const char* name) {
        Close();
        return RegCreateKeyA(parent, name, &m_key) == ERROR_SUCCESS;
    }

    // Reads a REG_SZ value that fits `size` bytes with its terminating NUL
    // and is not empty. Anything else (absent, another type, too long,
    // unterminated, empty) counts as absent: no byte past the buffer is
    // ever read or written.
    bool ReadString(const char* name, char* value, DWORD size) const;

    // Writes `text` as REG_SZ, its terminating NUL included.
    bool WriteString(const char* name, const char* text);
    bool WriteDword(const char* name, DWORD value) {
        return RegSetValueExA(m_key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value) ==
               ERROR_SUCCESS;
    }
    bool DeleteValue(const char* name) { return RegDeleteValueA(m_key, name) == ERROR_SUCCESS; }
    // Deletes the key `name` below this one, which must hold no keys.
    bool DeleteKey(const char* name) { return RegDeleteKeyA(m_key, name) == ERROR_SUCCESS; }
    void Close();
    // Whether the key holds neither values nor keys.
    bool IsEmpty() const {
        DWORD keys = 1, values = 1;
        return RegQueryInfoKeyA(m_key, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values,
                                nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
               keys == 0 && values == 0;
    }

  private:
    HKEY m_key;
};
