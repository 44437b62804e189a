#pragma once
// Registry values of any type and size, read and written the way a program
// would see them (the prefix is 32-bit: one registry view). The Hklm
// functions are the common case; the others take the root key. Writes and
// deletes fail at the caller's line (Where.h).

#include <windows.h>

#include <string>
#include <vector>

#include "Where.h"

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
                const void* data, DWORD size, Where where = Where::Here());

RegistryValue ReadHklmValue(const std::string& key, const std::string& name);
bool HklmKeyExists(const std::string& key);
// Creates the key as needed.
void WriteHklmValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                    DWORD size, Where where = Where::Here());
// REG_SZ; `countNul` false stores the text without its terminating NUL.
void WriteHklmString(const std::string& key, const std::string& name, const std::string& text,
                     bool countNul = true, Where where = Where::Here());
// Deletes `key` with everything below it, or one value; absent is fine.
void DeleteHklmTree(const std::string& key, Where where = Where::Here());
void DeleteHklmValue(const std::string& key, const std::string& name, Where where = Where::Here());

} // namespace e2e
