// Measures Setup.exe under Wine against bare references, both sides in the
// same prefix and the same run, alternating which side goes first. Run it
// through tests/e2e/run-test.sh (scripts/bench.sh does), which gives it a
// fresh prefix with CD-ROM drives.
//
//   bench_driver.exe install [--files N] [--megabytes M] [--runs R]
//       A product folder of N files, M MB in all, in a dozen subfolders,
//       read-only, on the disc in D:. Setup side: Setup.exe is started, its
//       install-path field set, Install clicked; timed from the click to the
//       completion message. Bare side: bench_copy.exe, timed around its one
//       SHFileOperationA call. Also: when the marker files of Setup's steps
//       appear (polled every kPhasePollMs while either side runs, so that
//       the polling weighs on both alike), and the read-only clearing walk
//       that Setup makes, timed here on the bare side's copy.
//   bench_driver.exe startup [--runs R]
//       From CreateProcess to the dialog's visible window, polled every
//       millisecond: Setup.exe (a product disc in D:) against bench_dialog.exe
//       and against bench_dialog_manifest.exe (the minimal dialog with
//       Setup's manifest: what the manifest costs, and what is Setup's own);
//       and, to see where the difference goes, bench_dialog_imports.exe (the
//       minimal dialog importing Setup's DLLs) and start to exit of a program
//       without a window.
//
// One line per run, then a summary: medians with [min..max] of each side and
// of the per-run ratios (Setup / bare).

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <stdarg.h>
#include <stdexcept>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "E2e.h"
#include "common/Names.h"
#include "res/resource.h"

using namespace e2e;

namespace {

// How often the measurements look: for Setup's steps during an
// installation, and for a dialog during a start.
const DWORD kPhasePollMs = 10;
const DWORD kDialogPollMs = 1;
const char kBenchRoot[] = "C:\\bench";
// The completion message of EnglishTexts() (indexes 668 and 669).
const char kDoneText[] = "The Vellmor has been installed.";
const char kDoneCaption[] = "Setup complete";

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    Spread s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

void PrintSpread(const char* name, const std::vector<double>& values, const char* unit) {
    Spread s = SpreadOf(values);
    printf("  %-44s median %10.3f %s  [%.3f .. %.3f]\n", name, s.median, unit, s.min, s.max);
}

// On a busy machine the fastest run of each side is the one least disturbed
// by others: the ratio of the two minima is given beside the median ratio.
void PrintMinimumRatio(const char* name, const std::vector<double>& measured,
                       const std::vector<double>& reference) {
    printf("  %-44s        %10.3f x\n", name, SpreadOf(measured).min / SpreadOf(reference).min);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// ---------------------------------------------------------------------------
// The product tree

// xorshift32: cheap bytes that no file system or cache can compress.
struct Noise {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

const char* const kSubfolders[] = {
    "",
    "Data",
    "Data\\Maps",
    "Data\\Models",
    "Data\\Textures",
    "Data\\Textures\\High",
    "Sound",
    "Sound\\Speech",
    "Sound\\Music",
    "Movies",
    "Scripts",
    "Manual",
};
const size_t kSubfolderCount = sizeof kSubfolders / sizeof kSubfolders[0];

// Writes `files` files of `bytes` bytes in all (sizes varying from a fifth
// to nine fifths of the mean) below `root`, read-only as on a pressed disc.
void GenerateTree(const std::string& root, size_t files, unsigned long long bytes) {
    for (const char* sub : kSubfolders)
        MakeFolders(JoinPath(root, sub));
    Noise noise{0x2545F491u};
    std::vector<double> weights(files);
    double sum = 0;
    for (double& w : weights) {
        w = 0.2 + 1.6 * (noise.Next() % 10000) / 10000.0;
        sum += w;
    }
    std::vector<uint32_t> chunk(16384); // 64 KiB
    unsigned long long left = bytes;
    for (size_t i = 0; i < files; ++i) {
        unsigned long long size =
            i + 1 == files ? left : (unsigned long long)((double)bytes * weights[i] / sum);
        size = std::min(size, left);
        left -= size;
        std::string path = JoinPath(JoinPath(root, kSubfolders[i % kSubfolderCount]),
                                    Format("file%05u.dat", (unsigned)i));
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot create " + path);
        for (unsigned long long done = 0; done < size;) {
            for (uint32_t& word : chunk)
                word = noise.Next();
            DWORD piece = (DWORD)std::min<unsigned long long>(size - done, chunk.size() * 4);
            DWORD written = 0;
            if (!WriteFile(file, chunk.data(), piece, &written, nullptr) || written != piece) {
                CloseHandle(file);
                throw std::runtime_error("cannot write " + path);
            }
            done += piece;
        }
        CloseHandle(file);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
}

struct TreeCount {
    size_t files = 0;
    unsigned long long bytes = 0;
    size_t readOnly = 0;
};

void CountTree(const std::string& folder, TreeCount& count) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, ".."))
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CountTree(JoinPath(folder, found.cFileName), count);
        } else {
            ++count.files;
            count.bytes += ((unsigned long long)found.nFileSizeHigh << 32) | found.nFileSizeLow;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                ++count.readOnly;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

TreeCount CountTree(const std::string& folder) {
    TreeCount count;
    CountTree(folder, count);
    return count;
}

void RemoveTree(const std::string& folder) {
    if (!FolderExists(folder))
        return;
    EmptyFolder(folder);
    RemoveDirectoryA(folder.c_str());
}

// Setup's read-only clearing, step for step: every entry ("." included)
// has its attributes read, and written back when read-only (unless `write`
// is false); folders recurse.
void ClearReadOnlyWalk(const std::string& folder, bool write) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!strcmp(found.cFileName, ".."))
            continue;
        std::string path = folder + "\\" + found.cFileName;
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (write && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strcmp(found.cFileName, "."))
            ClearReadOnlyWalk(path, write);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// ---------------------------------------------------------------------------
// Windows of the measured process

// A visible dialog-class window of `pid` other than `except`, or null: one
// look, no wait. Without a caption to compare the process is sent no
// message (it would wait on Setup's UI thread, which is busy copying).
HWND DialogOf(DWORD pid, HWND except = nullptr) {
    return WaitForWindow(pid, nullptr, "#32770", 0, except);
}

// ---------------------------------------------------------------------------
// install

struct Options {
    size_t files = 2000;
    unsigned long long megabytes = 200;
    int runs = 5;
};

std::string ProgramsFolder() {
    char path[MAX_PATH];
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, TRUE))
        throw std::runtime_error("no Programs folder");
    return path;
}

// The files that mark the end of Setup's steps: the product folder in the
// install root (the copy has begun), Version.ver (the copy has ended), the
// second shortcut, language.sif. Both sides are watched the same way while
// they run, so that the watching costs them alike (the bare side's copy
// only ever shows the first).
enum Marker { kFolderMarker, kVersionMarker, kLinkMarker, kLanguageMarker, kMarkerCount };

struct Watch {
    std::string paths[kMarkerCount];
    double seenMs[kMarkerCount] = {-1, -1, -1, -1};

    Watch(const std::string& installDir, const std::string& menuFolder) {
        paths[kFolderMarker] = installDir;
        paths[kVersionMarker] = JoinPath(installDir, "Version.ver");
        paths[kLinkMarker] = JoinPath(menuFolder, std::string(kProductFolder) + ".lnk");
        paths[kLanguageMarker] = JoinPath(installDir, "language.sif");
    }
    // One look: the markers (times since `startMs`), and a dialog of `pid`
    // other than `except`, which it returns.
    HWND Look(DWORD pid, HWND except, double startMs) {
        double nowMs = NowMs() - startMs;
        for (int i = 0; i < kMarkerCount; ++i) {
            if (seenMs[i] < 0 && GetFileAttributesA(paths[i].c_str()) != INVALID_FILE_ATTRIBUTES)
                seenMs[i] = nowMs;
        }
        return DialogOf(pid, except);
    }
};

struct SetupSample {
    double totalMs = 0;                 // click to completion message
    double markerMs[kMarkerCount] = {}; // click to each marker
};

SetupSample RunSetupInstall(const std::string& installRoot, size_t expectedFiles) {
    const std::string installDir = JoinPath(installRoot, kProductFolder);
    const std::string menuFolder = JoinPath(ProgramsFolder(), kProductFolder);
    RemoveTree(menuFolder);
    DeleteHklmTree(kRegistryKey);
    ClearStubStarts();

    Process setup = Process::Start(SetupExe());
    HWND dialog = WaitForWindow(setup.Id(), nullptr, "#32770", kTimeoutMs);
    if (!dialog)
        throw std::runtime_error("Setup.exe showed no dialog");
    SetText(GetDlgItem(dialog, IDC_INSTALL_PATH), installRoot);
    // The clock starts with the dialog's thread idle.
    Settle(dialog);

    Watch watch(installDir, menuFolder);
    HWND box = nullptr;
    double start = NowMs();
    PostClick(dialog, IDOK);
    windriver::WaitUntil([&] { return (box = watch.Look(setup.Id(), dialog, start)) != nullptr; },
                         "Setup's completion message", kTimeoutMs, kPhasePollMs);
    SetupSample sample;
    sample.totalMs = NowMs() - start;
    for (int i = 0; i < kMarkerCount; ++i)
        sample.markerMs[i] = watch.seenMs[i];

    MessageBoxInfo info = ReadMessageBox(box);
    if (info.caption != kDoneCaption || info.text != kDoneText)
        throw std::runtime_error("Setup.exe said: " + info.caption + ": " + info.text);
    PostClick(box, IDOK);
    if (!setup.WaitForExit(kTimeoutMs))
        throw std::runtime_error("Setup.exe did not end");
    WaitForStubStarts(1); // the installation's Setup.exe, started last

    TreeCount copied = CountTree(installDir);
    if (copied.files < expectedFiles || copied.readOnly != 0)
        throw std::runtime_error(Format("Setup.exe installed %u files (%u read-only), expected %u",
                                        (unsigned)copied.files, (unsigned)copied.readOnly,
                                        (unsigned)expectedFiles));
    RemoveTree(installRoot);
    return sample;
}

struct BareSample {
    double copyMs = 0;    // the SHFileOperationA call, timed inside bench_copy
    double processMs = 0; // CreateProcess to exit, timed here
    double walkMs = 0;    // the walk reading attributes only, timed here
    double clearMs = 0;   // Setup's read-only walk over the copy, timed here
    double renameMs = 0;  // Setup's renames: the empty game folder aside, the copy in
};

BareSample RunBareCopy(const std::string& destination, size_t expectedFiles) {
    MakeFolders(destination); // Setup creates its root itself; not timed there either
    const std::string copied = JoinPath(destination, kProductFolder);
    BareSample sample;
    StartOptions options;
    options.arguments = "D:\\ " + destination;
    options.captureOutput = true;
    Watch watch(copied, copied);
    double start = NowMs();
    Process copy = Process::Start(WindowsPath(BENCH_COPY_EXE), options);
    windriver::WaitUntil(
        [&] {
            watch.Look(copy.Id(), nullptr, start);
            return !copy.IsRunning();
        },
        "the end of bench_copy", kTimeoutMs, kPhasePollMs);
    sample.processMs = NowMs() - start;
    std::string output = copy.Output();
    unsigned long micros = 0;
    int result = -1, aborted = -1;
    if (sscanf(output.c_str(), "copy_us=%lu result=%d aborted=%d", &micros, &result, &aborted) !=
            3 ||
        result != 0 || aborted != 0)
        throw std::runtime_error("bench_copy: " + output);
    sample.copyMs = micros / 1000.0;

    TreeCount count = CountTree(copied);
    if (count.files != expectedFiles)
        throw std::runtime_error(Format("bench_copy copied %u files, expected %u",
                                        (unsigned)count.files, (unsigned)expectedFiles));
    double walkStart = NowMs();
    ClearReadOnlyWalk(copied, false);
    double clearStart = NowMs();
    ClearReadOnlyWalk(copied, true);
    sample.walkMs = clearStart - walkStart;
    sample.clearMs = NowMs() - clearStart;
    // As Setup.exe takes the game folder's place from its own folder: the
    // game folder it held moves aside, the copy in, the emptied one goes.
    const std::string placed = JoinPath(destination, "Placed"), aside = placed + ".aside";
    MakeFolders(placed);
    double renameStart = NowMs();
    if (!MoveFileA(placed.c_str(), aside.c_str()) || !MoveFileA(copied.c_str(), placed.c_str()) ||
        !RemoveDirectoryA(aside.c_str()))
        throw std::runtime_error("the bare renames failed");
    sample.renameMs = NowMs() - renameStart;
    RemoveTree(destination);
    return sample;
}

int Install(const Options& options) {
    InsertDisc('D', Medium::Product());
    const std::string product = JoinPath(DriveFolder('D'), kProductFolder);
    double generateStart = NowMs();
    GenerateTree(product, options.files, options.megabytes * 1000000ULL);
    TreeCount source = CountTree(product);
    printf("product folder: %u files, %.1f MB, %u subfolders, generated in %.0f ms\n",
           (unsigned)source.files, source.bytes / 1e6, (unsigned)kSubfolderCount - 1,
           NowMs() - generateStart);
    MakeFolders(kBenchRoot);

    // One untimed round of each: Wine's libraries and the page cache warm.
    RunBareCopy(JoinPath(kBenchRoot, "warm-b"), source.files);
    RunSetupInstall(JoinPath(kBenchRoot, "warm-s"), source.files);

    std::vector<double> setupMs, bareMs, bareProcessMs, ratios, walkMs, clearMs;
    std::vector<double> ratiosSetupFirst, ratiosBareFirst, ratiosWithClearing;
    std::vector<double> folderMs, copyMs, linksMs, languageMs, restMs;
    for (int run = 0; run < options.runs; ++run) {
        SetupSample s;
        BareSample b;
        std::string setupRoot = JoinPath(kBenchRoot, Format("s%d", run));
        std::string bareRoot = JoinPath(kBenchRoot, Format("b%d", run));
        bool setupFirst = run % 2 == 0;
        if (setupFirst)
            s = RunSetupInstall(setupRoot, source.files);
        b = RunBareCopy(bareRoot, source.files);
        if (!setupFirst)
            s = RunSetupInstall(setupRoot, source.files);

        double ratio = s.totalMs / b.copyMs;
        const double* m = s.markerMs;
        printf("install run %d (%s first): setup %.0f ms [folder %.0f, version %.0f, links %.0f, "
               "language %.0f]; bare copy %.0f ms (process %.0f ms); walks: reading %.0f ms, "
               "clearing %.0f ms; ratio %.3f\n",
               run + 1, setupFirst ? "setup" : "bare", s.totalMs, m[kFolderMarker],
               m[kVersionMarker], m[kLinkMarker], m[kLanguageMarker], b.copyMs, b.processMs,
               b.walkMs, b.clearMs, ratio);
        fflush(stdout);
        setupMs.push_back(s.totalMs);
        bareMs.push_back(b.copyMs);
        bareProcessMs.push_back(b.processMs);
        walkMs.push_back(b.walkMs);
        clearMs.push_back(b.clearMs);
        ratios.push_back(ratio);
        ratiosWithClearing.push_back(s.totalMs / (b.copyMs + b.clearMs + b.renameMs));
        (setupFirst ? ratiosSetupFirst : ratiosBareFirst).push_back(ratio);
        folderMs.push_back(m[kFolderMarker]);
        copyMs.push_back(m[kVersionMarker] - m[kFolderMarker]);
        linksMs.push_back(m[kLinkMarker] - m[kVersionMarker]);
        languageMs.push_back(m[kLanguageMarker] - m[kLinkMarker]);
        restMs.push_back(s.totalMs - m[kLanguageMarker]);
    }
    printf("install summary (%d runs, %u files, %.1f MB):\n", options.runs, (unsigned)source.files,
           source.bytes / 1e6);
    PrintSpread("Setup.exe, click to completion message", setupMs, "ms");
    PrintSpread("bare SHFileOperationA call", bareMs, "ms");
    PrintSpread("bare program, start to exit", bareProcessMs, "ms");
    PrintSpread("ratio Setup / bare call (per run)", ratios, "x ");
    PrintMinimumRatio("ratio of the fastest runs", setupMs, bareMs);
    // What Setup does beyond the copy and the read-only walk that any
    // installer from a read-only disc needs: its own steps' weight.
    PrintSpread("ratio Setup / (bare call + clearing walk + renames)", ratiosWithClearing, "x ");
    // The side that goes second may profit or suffer from the first (page
    // cache, writeback); alternating cancels that in the median above.
    PrintSpread("ratio, runs with Setup first", ratiosSetupFirst, "x ");
    PrintSpread("ratio, runs with the bare copy first", ratiosBareFirst, "x ");
    printf("  Setup's phases, seen from outside (poll every %lu ms):\n", kPhasePollMs);
    PrintSpread("click to product folder created", folderMs, "ms");
    PrintSpread("product folder to Version.ver (the copy)", copyMs, "ms");
    PrintSpread("Version.ver to second shortcut", linksMs, "ms");
    PrintSpread("shortcut to language.sif", languageMs, "ms");
    PrintSpread("language.sif to completion message", restMs, "ms");
    printf("  Setup's read-only walk, repeated here over the bare copy:\n");
    PrintSpread("reading attributes only", walkMs, "ms");
    PrintSpread("reading and clearing (as Setup.exe)", clearMs, "ms");
    return 0;
}

// ---------------------------------------------------------------------------
// startup

// CreateProcess to the first visible dialog window of the new process.
double TimeToDialog(const std::string& program) {
    double start = NowMs();
    Process process = Process::Start(program);
    HWND dialog = nullptr;
    windriver::WaitUntil(
        [&] {
            dialog = DialogOf(process.Id());
            if (!dialog && !process.IsRunning())
                throw std::runtime_error(program + " ended without a dialog");
            return dialog != nullptr;
        },
        "a dialog from " + program, kTimeoutMs, kDialogPollMs);
    double elapsed = NowMs() - start;
    PostClick(dialog, IDCANCEL);
    if (!process.WaitForExit(kTimeoutMs))
        throw std::runtime_error(program + " did not end");
    return elapsed;
}

double TimeToExit(const std::string& program) {
    double start = NowMs();
    Process process = Process::Start(program);
    if (!process.WaitForExit(kTimeoutMs))
        throw std::runtime_error(program + " did not end");
    return NowMs() - start;
}

// The programs whose start-up is compared, in the order of the first run.
enum Starter { kSetup, kMinimal, kManifest, kStarterCount };
const char* const kStarterNames[kStarterCount] = {"setup", "minimal", "minimal with manifest"};

int Startup(const Options& options) {
    InsertDisc('D', Medium::Product());
    const std::string programs[kStarterCount] = {SetupExe(), WindowsPath(BENCH_DIALOG_EXE),
                                                 WindowsPath(BENCH_DIALOG_MANIFEST_EXE)};
    const std::string imports = WindowsPath(BENCH_DIALOG_IMPORTS_EXE);
    for (const std::string& program : programs)
        TimeToDialog(program); // warm
    TimeToDialog(imports);

    std::vector<double> ms[kStarterCount];
    std::vector<double> importsMs, ratios, manifestRatios, ownRatios, importRatios, windowlessMs;
    for (int run = 0; run < options.runs; ++run) {
        // Each of the three goes first in turn; the one with Setup's imports
        // last.
        double t[kStarterCount];
        for (int k = 0; k < kStarterCount; ++k) {
            int which = (run + k) % kStarterCount;
            t[which] = TimeToDialog(programs[which]);
        }
        double i = TimeToDialog(imports);
        double windowless = TimeToExit(StubExe());
        double s = t[kSetup], m = t[kMinimal], mm = t[kManifest];
        printf("startup run %d (%s first): setup %.1f ms; minimal dialog %.1f ms; with Setup's "
               "manifest %.1f ms; with Setup's imports %.1f ms; ratio %.3f, to the one with "
               "the manifest %.3f; windowless program start to exit %.1f ms\n",
               run + 1, kStarterNames[run % kStarterCount], s, m, mm, i, s / m, s / mm, windowless);
        fflush(stdout);
        for (int k = 0; k < kStarterCount; ++k)
            ms[k].push_back(t[k]);
        importsMs.push_back(i);
        ratios.push_back(s / m);
        manifestRatios.push_back(mm / m);
        ownRatios.push_back(s / mm);
        importRatios.push_back(i / m);
        windowlessMs.push_back(windowless);
    }
    printf("startup summary (%d runs):\n", options.runs);
    PrintSpread("Setup.exe, start to visible dialog", ms[kSetup], "ms");
    PrintSpread("minimal dialog, start to visible dialog", ms[kMinimal], "ms");
    PrintSpread("ratio Setup / minimal (per run)", ratios, "x ");
    PrintMinimumRatio("ratio of the fastest runs", ms[kSetup], ms[kMinimal]);
    // The manifest's cost, and Setup's own beside the same manifest.
    PrintSpread("minimal with Setup's manifest", ms[kManifest], "ms");
    PrintSpread("ratio with manifest / minimal (per run)", manifestRatios, "x ");
    PrintMinimumRatio("ratio of the fastest runs", ms[kManifest], ms[kMinimal]);
    PrintSpread("ratio Setup / minimal with manifest", ownRatios, "x ");
    PrintMinimumRatio("ratio of the fastest runs", ms[kSetup], ms[kManifest]);
    PrintSpread("minimal with Setup's imports", importsMs, "ms");
    PrintSpread("ratio with imports / minimal (per run)", importRatios, "x ");
    PrintMinimumRatio("ratio of the fastest runs", importsMs, ms[kMinimal]);
    PrintSpread("windowless program, start to exit", windowlessMs, "ms");
    return 0;
}

int Usage() {
    fprintf(stderr, "usage: bench_driver.exe install [--files N] [--megabytes M] [--runs R]\n"
                    "       bench_driver.exe startup [--runs R]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    Options options;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--files"))
            options.files = strtoul(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--megabytes"))
            options.megabytes = strtoull(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--runs"))
            options.runs = atoi(argv[i + 1]);
        else
            return Usage();
    }
    if ((argc - 2) % 2 != 0 || options.files == 0 || options.runs < 1)
        return Usage();
    try {
        if (!strcmp(argv[1], "install"))
            return Install(options);
        if (!strcmp(argv[1], "startup"))
            return Startup(options);
        return Usage();
    } catch (const std::exception& error) {
        fprintf(stderr, "bench_driver: %s\n", error.what());
        fflush(stdout);
        return 1;
    }
}
