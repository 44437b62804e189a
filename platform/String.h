#pragma once
// CString: a counted, heap-held ANSI string with the few operations setup
// uses. An allocation failure leaves the string empty rather than throwing.

#include <stdarg.h>
#include <stddef.h>
#include <windows.h>

class CString {
  public:
    CString();
    CString(const char* text);
    CString(const char* text, int length);
    CString(const CString& other);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(const char* text);

    operator const char*() const { return m_data ? m_data : ""; }
    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    bool operator==(const char* text) const;

    // Appends `length` bytes of `text`.
    void Append(const char* text, int length);

    // Removes white space from the start, the end, or both.
    void TrimLeft();
    void TrimRight();
    void Trim();

    // Position of the first occurrence of `what` (case-sensitive), or -1.
    int Find(const char* what) const;

    // The first `count` characters (all of them when count is larger).
    CString Left(int count) const;

    // Replaces every occurrence of `from` (case-sensitive, non-overlapping,
    // left to right) with `to`; returns how many were replaced.
    int Replace(const char* from, const char* to);

    // printf-style formatting into this string.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Loads a string resource of the executable; false when it is missing.
    bool LoadString(unsigned id);

    // Direct access to a buffer of at least minLength characters plus the
    // terminating NUL; ReleaseBuffer takes the length from the NUL.
    char* GetBuffer(int minLength);
    void ReleaseBuffer();

  private:
    bool Assign(const char* text, int length);
    bool Reserve(int length);

    char* m_data;
    int m_length;
    int m_capacity;
};
