#include "window/FullScreen.h"

#include <GL/freeglut.h>

namespace {
bool fullScreen = false;
int windowedWidth = 1024;
int windowedHeight = 768;
}  // namespace

void setWindowedSize(int width, int height) {
    windowedWidth = width;
    windowedHeight = height;
}

void setFullScreen(bool on) {
    if (on == fullScreen) {
        return;
    }
    fullScreen = on;
    if (on) {
        glutFullScreen();
    } else {
        glutLeaveFullScreen();
        // Without a window manager there is no remembered size to go back to.
        glutReshapeWindow(windowedWidth, windowedHeight);
    }
}

bool isFullScreen() { return fullScreen; }
