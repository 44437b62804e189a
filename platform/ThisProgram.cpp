#include "platform/ThisProgram.h"

#include <string.h>

#include "text/CodePage.h"

bool ThisProgramPath(char (&path)[MAX_PATH]) {
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length > 0 && length < sizeof path;
}

bool ThisProgramFolder(char (&path)[MAX_PATH], char (&folder)[MAX_PATH]) {
    if (!ThisProgramPath(path))
        return false;
    memcpy(folder, path, sizeof folder);
    const char* slash = FindLastChar(folder, '\\');
    if (!slash)
        return false;
    folder[slash - folder] = '\0';
    return true;
}
