#pragma once
// Bounded printf-style formatting that reports truncation. On Windows it
// uses the system C runtime's own formatter: the C++ library's ANSI printf
// would add about 20 KB to a program that formats nothing but paths.

#include <stdarg.h>
#include <stddef.h>

namespace text {
// A path's buffer, its NUL included: Windows' MAX_PATH.
enum { kPathBufferSize = 260 };
} // namespace text

// Formats into buffer (size > 0), always NUL-terminated. False when the
// result did not fit (the buffer then holds a cut-off prefix) or on a
// formatting error.
bool FormatText(char* buffer, size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

bool FormatTextV(char* buffer, size_t size, const char* format, va_list args);

// A fixed-size buffer taken by reference, so its size cannot be passed wrong.
template <size_t N, class... Args>
bool FormatPath(char (&buffer)[N], const char* format, Args... args) {
    return FormatText(buffer, N, format, args...);
}

// `folder`\`name` into buffer, as FormatText does it.
bool FormatPathIn(char* buffer, size_t size, const char* folder, const char* name);

template <size_t N> bool PathInFolder(char (&buffer)[N], const char* folder, const char* name) {
    return FormatPathIn(buffer, N, folder, name);
}

// `text` into buffer, as FormatText does it; false when it does not fit.
bool CopyText(char* buffer, size_t size, const char* text);

template <size_t N> bool CopyPath(char (&buffer)[N], const char* text) {
    return CopyText(buffer, N, text);
}

// A system error's number as text, for a message's insert:
//   LocalText(table, kText<TXT_WINDOW_FAILED>, ErrorNumber(error))
class ErrorNumber {
  public:
    explicit ErrorNumber(unsigned long error);
    operator const char*() const { return m_text; }

  private:
    char m_text[16];
};
