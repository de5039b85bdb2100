#pragma once

// Ties buffer swaps to the display's refresh through the driver's swap
// control extension, where it offers one. Needs the current OpenGL context
// and an initialised GLEW.
class SwapControl {
public:
    enum class Vsync { On, Off, NotOffered };

    // Asks for one refresh per swap (on) or none (off); the answer is what
    // the driver then reports in force.
    static Vsync request(bool on);
    static const char* text(Vsync state);
};
