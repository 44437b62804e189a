#pragma once
// Errors and warnings of one command about one file, counted, each printed
// as "FILE: error: ..." or, with a line, "FILE:LINE: error: ...".

#include <stdarg.h>
#include <stdio.h>

namespace langtool {

class CReport {
  public:
    CReport(const char* file, FILE* out) : m_file(file), m_out(out) {}

    void Error(int line, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        va_list args;
        va_start(args, format);
        Print(line, "error", format, args);
        va_end(args);
        ++m_errors;
    }
    void Warning(int line, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        va_list args;
        va_start(args, format);
        Print(line, "warning", format, args);
        va_end(args);
        ++m_warnings;
    }
    int Errors() const { return m_errors; }
    int Warnings() const { return m_warnings; }

  private:
    void Print(int line, const char* kind, const char* format, va_list args) {
        if (line > 0) {
            fprintf(m_out, "%s:%d: %s: ", m_file, line, kind);
        } else {
            fprintf(m_out, "%s: %s: ", m_file, kind);
        }
        vfprintf(m_out, format, args);
        fputc('\n', m_out);
    }

    const char* m_file;
    FILE* m_out;
    int m_errors = 0;
    int m_warnings = 0;
};

} // namespace langtool
