#include "install/LogReport.h"

#include <stdarg.h>
#include <string.h>

#include "install/RoomRules.h"
#include "text/LocalText.h"

LogReport::~LogReport() {
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
}

bool LogReport::Open(const char* path, const char* gameFolder, const char* uninstallerFolder) {
    PathBuffer full;
    char* name = nullptr;
    DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || (gameFolder && IsSameOrBelow(full, gameFolder)) ||
        (uninstallerFolder && IsSameOrBelow(full, uninstallerFolder)))
        return false;
    m_file = CreateFileA(full, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_file != INVALID_HANDLE_VALUE;
}

void LogReport::Line(const char* format, ...) {
    if (m_file == INVALID_HANDLE_VALUE)
        return;
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    // A line cut to fit still ends as a line.
    FormatTextV(line, sizeof line - 2, format, arguments);
    va_end(arguments);
    size_t length = strlen(line);
    line[length++] = '\r';
    line[length++] = '\n';
    DWORD written = 0;
    WriteFile(m_file, line, (DWORD)length, &written, nullptr);
}

void LogReport::StepRan(const char* step, const InstallMessage* failure, DWORD error) {
    if (!failure)
        Line("%s: ok", step);
    else if (error)
        Line("%s: failed: %s (error %lu)", step, failure->text.english, (unsigned long)error);
    else
        Line("%s: failed: %s", step, failure->text.english);
}

void LogReport::RefuseLink(const InstallMessage& refusal, const char* link) {
    CLanguageTable english;
    Line("way to the folder: failed: %s", (const char*)LocalText(english, refusal.text, link));
}

bool LogReport::GoOnWithoutRoom(uint64_t needed, uint64_t available) {
    Line("room: %lu MB needed, %lu MB free", (unsigned long)MegabytesNeeded(needed),
         (unsigned long)MegabytesFree(available));
    return false;
}
