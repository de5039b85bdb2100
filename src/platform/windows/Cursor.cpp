#include "platform/Cursor.h"

// The window of an OpenGL context is found through GDI.
#undef NOGDI
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

void Cursor::hide() {
    // ShowCursor counts: the cursor is hidden while the count is negative,
    // whatever it started at.
    while (ShowCursor(FALSE) >= 0) {
    }
}

void Cursor::warp(int x, int y) {
    // The game hands window coordinates; SetCursorPos takes screen
    // coordinates. The window is the one the current OpenGL context draws to.
    HWND window = WindowFromDC(wglGetCurrentDC());
    POINT point{x, y};
    if (window == nullptr || !ClientToScreen(window, &point)) {
        return;
    }
    SetCursorPos(point.x, point.y);
}
