#include "platform/String.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "text/Format.h"

CString::CString() : m_data(nullptr), m_length(0), m_capacity(0) {}

CString::CString(const char* text) : CString() {
    *this = text;
}

CString::CString(const char* text, int length) : CString() {
    Assign(text, length);
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

bool CString::operator==(const char* text) const {
    return strcmp(*this, text ? text : "") == 0;
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

void CString::Append(const char* text, int length) {
    if (length <= 0 || !Reserve(m_length + length))
        return;
    memmove(m_data + m_length, text, (size_t)length);
    m_length += length;
    m_data[m_length] = '\0';
}

void CString::TrimLeft() {
    int start = 0;
    while (start < m_length && isspace((unsigned char)m_data[start]))
        ++start;
    if (start > 0)
        Assign(m_data + start, m_length - start);
}

void CString::TrimRight() {
    int end = m_length;
    while (end > 0 && isspace((unsigned char)m_data[end - 1]))
        --end;
    if (end < m_length) {
        m_data[end] = '\0';
        m_length = end;
    }
}

void CString::Trim() {
    TrimRight();
    TrimLeft();
}

int CString::Find(const char* what) const {
    const char* found = strstr(*this, what);
    return found ? (int)(found - (const char*)*this) : -1;
}

CString CString::Left(int count) const {
    if (count < 0)
        count = 0;
    return CString(*this, count < m_length ? count : m_length);
}

int CString::Replace(const char* from, const char* to) {
    size_t fromLength = strlen(from);
    if (fromLength == 0 || m_length == 0)
        return 0;
    CString result;
    int replaced = 0;
    const char* rest = *this;
    for (const char* hit; (hit = strstr(rest, from)) != nullptr; rest = hit + fromLength) {
        result.Append(rest, (int)(hit - rest));
        result.Append(to, (int)strlen(to));
        ++replaced;
    }
    if (replaced > 0) {
        result.Append(rest, (int)strlen(rest));
        *this = result;
    }
    return replaced;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int length = FormattedLength(format, measure);
    va_end(measure);
    if (length < 0 || !Reserve(length)) {
        Assign("", 0);
        return;
    }
    FormatTextV(m_data, (size_t)length + 1, format, args);
    m_length = length;
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
