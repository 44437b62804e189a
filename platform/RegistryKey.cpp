#include "platform/RegistryKey.h"

#include <string.h>

void CRegistryKey::Close() {
    if (m_key)
        RegCloseKey(m_key);
    m_key = nullptr;
}

bool CRegistryKey::ReadString(const char* name, char* value, DWORD size) const {
    DWORD type = REG_SZ;
    DWORD length = 0;
    if (RegQueryValueExA(m_key, name, nullptr, &type, nullptr, &length) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ || length == 0 || length > size)
        return false;
    if (RegQueryValueExA(m_key, name, nullptr, &type, (BYTE*)value, &length) != ERROR_SUCCESS ||
        type != REG_SZ || length == 0 || length > size)
        return false;
    return memchr(value, '\0', length) != nullptr && value[0] != '\0';
}

bool CRegistryKey::WriteString(const char* name, const char* text) {
    return RegSetValueExA(m_key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1) ==
           ERROR_SUCCESS;
}
