#pragma once

#include <cstdint>

// One event as the game's handlers received it: what a replay stores and
// hands back to the same handlers.
struct InputEvent {
    // Values are stored in replay files: never renumber, only add.
    enum class Kind : uint8_t {
        Key = 1,         // a: ASCII code
        SpecialKey = 2,  // a: GLUT special-key code
        Button = 3,      // a: button (0 left, 1 middle, 2 right), b: state (0 pressed, 1 released)
        Motion = 4,      // a, b: cursor x, y in window coordinates
        Reshape = 5,     // a, b: window width, height in pixels
        FocusLost = 6,   // the window was hidden or the pointer left it; a, b: 0
        Action = 7,      // a: PlayAction, b: 1 pressed, 0 released
        Stick = 8,       // a, b: a stick's x, z deflection in ten-thousandths (-10000..10000)
    };
    Kind kind;
    int32_t a;
    int32_t b;

    bool operator==(const InputEvent& other) const {
        return kind == other.kind && a == other.a && b == other.b;
    }
};
