// The version matrix's own check: the prefix reports the Windows version
// it was made for (the matrix gives it to the runner's --windows and to the
// test as E2E_WINDOWS), so that a scenario said to pass on Windows 95 really
// ran where Wine says 95. Registered only by the matrix.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>

#include <string>

namespace {

struct Reported {
    const char* name; // as winecfg -v takes it
    DWORD major, minor, platform;
};

const Reported kVersions[] = {
    {"win95", 4, 0, VER_PLATFORM_WIN32_WINDOWS},
    {"nt40", 4, 0, VER_PLATFORM_WIN32_NT},
    {"winxp", 5, 1, VER_PLATFORM_WIN32_NT},
    {"win10", 10, 0, VER_PLATFORM_WIN32_NT},
};

typedef LONG(WINAPI* RtlGetVersionProc)(OSVERSIONINFOW*);

} // namespace

TEST(WindowsVersion, PrefixReportsTheVersionItWasMadeFor) {
    const char* wanted = getenv("E2E_WINDOWS");
    ASSERT_NE(nullptr, wanted) << "run by the version matrix only";
    const Reported* expected = nullptr;
    for (const Reported& version : kVersions) {
        if (std::string(version.name) == wanted)
            expected = &version;
    }
    ASSERT_NE(nullptr, expected) << "no such version in the matrix: " << wanted;

    // The kernel's own answer: GetVersionEx would give a program without a
    // manifest an older Windows than 10.
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(nullptr, rtlGetVersion);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(0, rtlGetVersion(&info));
    EXPECT_EQ(expected->major, info.dwMajorVersion) << wanted;
    EXPECT_EQ(expected->minor, info.dwMinorVersion) << wanted;
    EXPECT_EQ(expected->platform, info.dwPlatformId) << wanted;
}
