#include "platform/SwapControl.h"

#include <cstring>

#include <GL/glew.h>
#include <GL/glxew.h>

namespace {
SwapControl::Vsync stateOf(bool on) { return on ? SwapControl::Vsync::On : SwapControl::Vsync::Off; }

// GLEW's flags list what the client library knows, not what the screen
// supports: Mesa's software renderer names all three extensions there, and
// the SGI call then fails later with an X error. The screen's own list counts.
bool offered(const char* extensions, const char* name) {
    const size_t length = strlen(name);
    for (const char* at = strstr(extensions, name); at != nullptr; at = strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}
}  // namespace

SwapControl::Vsync SwapControl::request(bool on) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return Vsync::NotOffered;
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) {
        return Vsync::NotOffered;
    }
    if (offered(extensions, "GLX_EXT_swap_control") && glXSwapIntervalEXT != nullptr) {
        glXSwapIntervalEXT(display, drawable, on ? 1 : 0);
        unsigned interval = 0;
        glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &interval);
        return stateOf(interval > 0);
    }
    if (offered(extensions, "GLX_MESA_swap_control") && glXSwapIntervalMESA != nullptr) {
        return glXSwapIntervalMESA(on ? 1 : 0) == 0 ? stateOf(glXGetSwapIntervalMESA() > 0) : Vsync::NotOffered;
    }
    // SGI's extension cannot switch the tie off, only on.
    if (offered(extensions, "GLX_SGI_swap_control") && glXSwapIntervalSGI != nullptr && on) {
        return glXSwapIntervalSGI(1) == 0 ? Vsync::On : Vsync::NotOffered;
    }
    return Vsync::NotOffered;
}
