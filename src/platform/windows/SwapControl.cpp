#include "platform/SwapControl.h"

#include <GL/glew.h>
#include <GL/wglew.h>

SwapControl::Vsync SwapControl::request(bool on) {
    if (WGLEW_EXT_swap_control && wglSwapIntervalEXT(on ? 1 : 0)) {
        return wglGetSwapIntervalEXT() > 0 ? Vsync::On : Vsync::Off;
    }
    return Vsync::NotOffered;
}
