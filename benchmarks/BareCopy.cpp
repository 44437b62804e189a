// The bare reference of the installation's copy: one SHFileOperationA call
// made as Setup.exe makes it (FO_COPY, FOF_SIMPLEPROGRESS only, the source
// "The Vellmor" relative to the medium's root as working directory), timed
// around the call. Writes "copy_us=<microseconds> result=<code> aborted=<0|1>" to
// standard output; the exit status is the call's result.
//
// usage: bench_copy.exe SOURCE_ROOT DESTINATION

#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char kSource[] = "The Vellmor\0";
const char kTitle[] = "Copying The Vellmor files...";

void WriteOut(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, (DWORD)strlen(text), &written, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3) {
        WriteOut("usage: bench_copy.exe SOURCE_ROOT DESTINATION\n");
        return 2;
    }
    char destination[MAX_PATH + 1] = {};
    if (strlen(__argv[2]) >= MAX_PATH)
        return 2;
    strcpy(destination, __argv[2]); // the rest stays zero: double NUL
    if (!SetCurrentDirectoryA(__argv[1])) {
        WriteOut("cannot enter the source root\n");
        return 3;
    }

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = nullptr;
    operation.wFunc = FO_COPY;
    operation.pFrom = kSource;
    operation.pTo = destination;
    operation.fFlags = FOF_SIMPLEPROGRESS;
    operation.lpszProgressTitle = kTitle;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int result = SHFileOperationA(&operation);
    QueryPerformanceCounter(&end);

    // Whole microseconds as an integer: the C runtime's printf stays out.
    unsigned long long micros =
        (unsigned long long)(end.QuadPart - start.QuadPart) * 1000000ULL / frequency.QuadPart;
    char line[96];
    wsprintfA(line, "copy_us=%lu result=%d aborted=%d\n", (unsigned long)micros, result,
              operation.fAnyOperationsAborted ? 1 : 0);
    WriteOut(line);
    return result;
}
