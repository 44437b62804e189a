// The demo medium's stand-in for a program of the game (Vellmor.exe, or the
// Setup.exe of an installation): a small window that says which program was
// started, from which file and in which folder. Left alone it closes after a
// few seconds, so an unattended run ends; a click or a key keeps it open.
//
// STANDIN_TITLE names the program (its window caption), STANDIN_FILE its
// file name; both are set by the build.

#include <windows.h>

#include <stdio.h>

#ifndef STANDIN_TITLE
#error STANDIN_TITLE must name the program
#endif
#ifndef STANDIN_FILE
#error STANDIN_FILE must give the file name of the program
#endif

namespace {

const char kClassName[] = "VellmorDemoStandIn";
const UINT_PTR kTimerId = 1;
const int kCloseAfterSeconds = 8;

struct State {
    char message[3 * MAX_PATH + 256];
    int secondsLeft; // 0: the person kept the window open
};

State g_state;

void FormatMessageText(State* state) {
    char self[MAX_PATH];
    char folder[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, self, sizeof self))
        snprintf(self, sizeof self, "%s", "(unknown)");
    if (!GetCurrentDirectoryA(sizeof folder, folder))
        snprintf(folder, sizeof folder, "%s", "(unknown)");

    char closing[96];
    if (state->secondsLeft > 0)
        snprintf(closing, sizeof closing, "This window closes in %d s (click to keep it open).",
                 state->secondsLeft);
    else
        snprintf(closing, sizeof closing, "%s", "Close this window when you are done.");

    snprintf(state->message, sizeof state->message,
             "%s was started.\n\nProgram: %s\nFolder: %s\n\nThis is the demo medium's stand-in "
             "for %s.\n%s",
             STANDIN_FILE, self, folder, STANDIN_FILE, closing);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -12, -12);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, g_state.message, -1, &area, DT_LEFT | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

void KeepOpen(HWND window) {
    if (g_state.secondsLeft == 0)
        return;
    KillTimer(window, kTimerId);
    g_state.secondsLeft = 0;
    FormatMessageText(&g_state);
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_TIMER:
        if (wParam == kTimerId && g_state.secondsLeft > 0) {
            if (--g_state.secondsLeft == 0) {
                DestroyWindow(window);
                return 0;
            }
            FormatMessageText(&g_state);
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
        KeepOpen(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    g_state.secondsLeft = kCloseAfterSeconds;
    FormatMessageText(&g_state);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 1;

    HWND window = CreateWindowExA(
        0, kClassName, STANDIN_TITLE, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 520, 220, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    SetTimer(window, kTimerId, 1000, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
