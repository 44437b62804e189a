#include "platform/Layout.h"

namespace {

// Whether the style of `window` changed.
bool SetExStyle(HWND window, bool rightToLeft) {
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    LONG wanted = LayoutExStyle(style, rightToLeft);
    if (wanted == style)
        return false;
    SetWindowLongA(window, GWL_EXSTYLE, wanted);
    return true;
}

BOOL CALLBACK SetChildExStyle(HWND child, LPARAM rightToLeft) {
    SetExStyle(child, rightToLeft != 0);
    return TRUE;
}

} // namespace

void SetLayoutDirection(HWND window, bool rightToLeft) {
    if (!SetExStyle(window, rightToLeft))
        return;
    EnumChildWindows(window, SetChildExStyle, rightToLeft);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
