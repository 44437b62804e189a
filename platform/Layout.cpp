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

// A child keeps its place on the screen when its parent's layout flips
// (Windows and Wine alike): it is moved to its mirror image, the distance
// from one edge becoming the distance from the other.
void MirrorPlace(HWND child, HWND parent) {
    RECT client, rect;
    GetClientRect(parent, &client);
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    LONG left = rect.left < rect.right ? rect.left : rect.right;
    LONG width = rect.right - rect.left < 0 ? rect.left - rect.right : rect.right - rect.left;
    SetWindowPos(child, nullptr, client.right - left - width, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Flip(HWND window, bool rightToLeft) {
    if (!SetExStyle(window, rightToLeft))
        return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        MirrorPlace(child, window);
        Flip(child, rightToLeft);
    }
    return true;
}

} // namespace

void SetLayoutDirection(HWND window, bool rightToLeft) {
    if (Flip(window, rightToLeft))
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
