#include "common/RunLog.h"

#include <stdarg.h>
#include <string.h>

#include "common/FinalPath.h"
#include "common/HeldTree.h"
#include "text/LocalText.h"

namespace {

// Whether the log open as `log` lies in `folder` (may be null) as the
// system resolves both. A folder that cannot be opened holds no file; where
// the system gives no final path the full path's text has been compared
// already.
bool LiesIn(HANDLE log, const char* folder) {
    PathBuffer logPath, folderPath;
    return folder && FinalPathOf(log, logPath) && FinalFolderPath(folder, folderPath) &&
           IsSameOrBelow(logPath, folderPath);
}

HANDLE OpenLog(const char* path, DWORD access, DWORD disposition) {
    return CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool LastWritten(HANDLE log, FILETIME& written) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(log, &info))
        return false;
    written = info.ftLastWriteTime;
    return true;
}

} // namespace

bool RunLog::OpenElevated(const char* path) {
    *m_file.Out() = OpenLog(path, GENERIC_WRITE, CREATE_ALWAYS);
    return !!m_file;
}

void RunLog::BeforeElevatedPart(const char* path) {
    CFileHandle log(OpenLog(path, GENERIC_READ, OPEN_EXISTING));
    LastWritten(log.Get(), m_before);
}

void RunLog::AfterElevatedPart(const char* path) {
    if (!m_file)
        return;
    // Only a log written since the run started is this run's: one the
    // elevated part could not replace is the last run's.
    CFileHandle log(OpenLog(path, GENERIC_READ, OPEN_EXISTING));
    FILETIME written;
    if (!log || !LastWritten(log.Get(), written) ||
        memcmp(&written, &m_before, sizeof written) == 0) {
        Line("elevated part's log: failed: it kept none");
        return;
    }
    char buffer[512];
    DWORD read = 0, copied = 0;
    while (ReadFile(log.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        WriteFile(m_file.Get(), buffer, read, &copied, nullptr);
}

bool RunLog::Open(const char* path, const char* gameFolder, const char* uninstallerFolder) {
    PathBuffer full;
    char* name = nullptr;
    DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || (gameFolder && IsSameOrBelow(full, gameFolder)) ||
        (uninstallerFolder && IsSameOrBelow(full, uninstallerFolder)))
        return false;
    // Windows 95 and 98 know no delete access, and need none here.
    DWORD deleteAccess = (GetVersion() & 0x80000000u) ? 0 : DELETE;
    *m_file.Out() = CreateFileA(full, GENERIC_WRITE | deleteAccess, FILE_SHARE_READ, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!m_file)
        return false;
    // The text may name the folders in another way (a short name, "\\?\",
    // a link on the way): the file, once made, says where it really is.
    if (LiesIn(m_file.Get(), gameFolder) || LiesIn(m_file.Get(), uninstallerFolder)) {
        // What the path names now may be another file.
        DeleteOnClose(m_file.Get());
        m_file.Close();
        return false;
    }
    return true;
}

void RunLog::Line(const char* format, ...) {
    if (!m_file)
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
    WriteFile(m_file.Get(), line, (DWORD)length, &written, nullptr);
}

void RunLog::RefuseLink(const InstallMessage& refusal, const char* link) {
    LanguageTexts english;
    Line("way to the folder: failed: %s",
         (const char*)LocalText(english, refusal.text, CLogValue(link)));
}

void RunLog::FilesInUse(const char* folder, const InUseList& found) {
    Line("files in use: failed: %s (%s)", (const char*)CLogValue(folder),
         (const char*)CLogValue(found.what));
}
