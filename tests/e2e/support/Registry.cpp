#include "Registry.h"

#include <shlwapi.h>

namespace e2e {

namespace {

void Check(LONG status, const std::string& what, const Where& where) {
    Require(status == ERROR_SUCCESS, where, what + " (error " + std::to_string(status) + ")");
}

// Opens `key` for writing, creating it as needed.
HKEY CreateKey(HKEY root, const std::string& key, const Where& where) {
    HKEY handle;
    Check(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
          "cannot create " + key, where);
    return handle;
}

} // namespace

std::string RegistryValue::AsString() const {
    std::string text(data.begin(), data.end());
    size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

RegistryValue ReadHklmValue(const std::string& key, const std::string& name) {
    return ReadValue(HKEY_LOCAL_MACHINE, key, name);
}

RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name) {
    RegistryValue value;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExA(handle, name.c_str(), nullptr, &value.type,
                                  size ? value.data.data() : nullptr, &size);
        value.data.resize(size);
        value.exists = status == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return value;
}

bool HklmKeyExists(const std::string& key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void WriteHklmValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                    DWORD size, Where where) {
    WriteValue(HKEY_LOCAL_MACHINE, key, name, type, data, size, where);
}

void WriteValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                const void* data, DWORD size, Where where) {
    HKEY handle = CreateKey(root, key, where);
    LONG status =
        RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    Check(status, "cannot write " + key + "\\" + name, where);
}

void WriteHklmString(const std::string& key, const std::string& name, const std::string& text,
                     bool countNul, Where where) {
    if (countNul) {
        WriteHklmValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), where);
        return;
    }
    // The registry stores UTF-16; the ANSI call would add the NUL that
    // follows the text in memory. A character after the text keeps the
    // stored value unterminated.
    std::wstring wide(text.begin(), text.end());
    wide += L'X';
    HKEY handle = CreateKey(HKEY_LOCAL_MACHINE, key, where);
    std::wstring wideName(name.begin(), name.end());
    LONG status = RegSetValueExW(handle, wideName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(wide.data()),
                                 static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    RegCloseKey(handle);
    Check(status, "cannot write " + key + "\\" + name, where);
    std::vector<BYTE> stored = ReadHklmValue(key, name).data;
    Require(std::string(stored.begin(), stored.end()) == text, where,
            key + "\\" + name + " was stored with a NUL");
}

void DeleteHklmTree(const std::string& key, Where where) {
    LONG status = SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    if (status != ERROR_FILE_NOT_FOUND)
        Check(status, "cannot delete HKLM\\" + key, where);
}

void DeleteHklmValue(const std::string& key, const std::string& name, Where where) {
    LONG status = SHDeleteValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str());
    if (status != ERROR_FILE_NOT_FOUND)
        Check(status, "cannot delete HKLM\\" + key + "\\" + name, where);
}

} // namespace e2e
