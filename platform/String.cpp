#include "platform/String.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

CString::CString() : m_data(nullptr), m_length(0), m_capacity(0) {}

CString::CString(const char* text) : CString() {
    *this = text;
}

CString::CString(const CString& other) : CString() {
    Assign(other, other.m_length);
}

CString::~CString() {
    free(m_data);
}

CString& CString::operator=(const CString& other) {
    if (this != &other)
        Assign(other, other.m_length);
    return *this;
}

CString& CString::operator=(const char* text) {
    Assign(text, text ? (int)strlen(text) : 0);
    return *this;
}

bool CString::Reserve(int length) {
    if (length < m_capacity)
        return true;
    char* grown = (char*)realloc(m_data, (size_t)length + 1);
    if (!grown)
        return false;
    m_data = grown;
    m_capacity = length + 1;
    return true;
}

bool CString::Assign(const char* text, int length) {
    if (length < 0)
        length = 0;
    if (!Reserve(length)) {
        m_length = 0;
        if (m_data)
            m_data[0] = '\0';
        return false;
    }
    // The source may lie inside this string's own buffer.
    memmove(m_data, text ? text : "", (size_t)length);
    m_data[length] = '\0';
    m_length = length;
    return true;
}

bool CString::LoadString(unsigned id) {
    char buffer[256];
    int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    Assign(buffer, length > 0 ? length : 0);
    return length > 0;
}

char* CString::GetBuffer(int minLength) {
    if (!Reserve(minLength > m_length ? minLength : m_length))
        return nullptr;
    return m_data;
}

void CString::ReleaseBuffer() {
    if (m_data)
        m_length = (int)strnlen(m_data, (size_t)m_capacity - 1);
}
