#pragma once
// Right-to-left layout, for a language that reads so: message boxes read
// right to left and align right, and windows are mirrored (controls and
// title bar from the right), as Windows's own right-to-left dialogs are.
// Every other language keeps the left-to-right styles exactly.

#include <windows.h>

inline UINT ReadingStyle(UINT style, bool rightToLeft) {
    return rightToLeft ? style | MB_RTLREADING | MB_RIGHT : style;
}

inline LONG LayoutExStyle(LONG exStyle, bool rightToLeft) {
    return rightToLeft ? exStyle | WS_EX_LAYOUTRTL : exStyle & ~WS_EX_LAYOUTRTL;
}

// Lays `window` and every window inside it out in the direction asked for,
// and redraws them; a window already laid out so is left as it is.
void SetLayoutDirection(HWND window, bool rightToLeft);
