#pragma once
// Registry values of any type and size, read and written the way a program
// would see them (the prefix is 32-bit: one registry view). The Hklm
// functions are the common case; the others take the root key. Writes and
// deletes throw on failure.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct RegistryValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data; // exactly the stored bytes
    // The data as text, up to its first NUL (string types).
    std::string AsString() const;
};

RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name);
// Creates the key as needed.
void WriteValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                const void* data, DWORD size);

RegistryValue ReadHklmValue(const std::string& key, const std::string& name);
bool HklmKeyExists(const std::string& key);
// Creates the key as needed.
void WriteHklmValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                    DWORD size);
// REG_SZ; `countNul` false stores the text without its terminating NUL.
void WriteHklmString(const std::string& key, const std::string& name, const std::string& text,
                     bool countNul = true);
// Deletes `key` with everything below it, or one value; absent is fine.
void DeleteHklmTree(const std::string& key);
void DeleteHklmValue(const std::string& key, const std::string& name);

} // namespace e2e
