#pragma once
// CString: a counted, heap-held ANSI string with the few operations setup
// uses. An allocation failure leaves the string empty rather than throwing.

#include <stddef.h>
#include <windows.h>

class CString {
  public:
    CString();
    CString(const char* text);
    CString(const CString& other);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(const char* text);

    operator const char*() const { return m_data ? m_data : ""; }
    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }

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
