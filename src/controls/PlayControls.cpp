#include "controls/PlayControls.h"

#include <cmath>

void PlayControls::set(PlayAction action, bool held) {
    bool& state = down[index(action)];
    if (action == PlayAction::Jump && held && !state) {
        jumpPressed = true;
    }
    state = held;
}

void PlayControls::releaseAll() {
    down.fill(false);
    jumpPressed = false;
}

PlayControls::Push PlayControls::tick(float topSpeed, float seconds) {
    auto axis = [this](PlayAction negative, PlayAction positive) {
        return (held(positive) ? 1.0f : 0.0f) - (held(negative) ? 1.0f : 0.0f);
    };
    const float x = axis(PlayAction::RollLeft, PlayAction::RollRight);
    const float z = axis(PlayAction::RollForward, PlayAction::RollBack);
    Push push;
    const float length = std::hypot(x, z);
    if (length > 0.0f) {
        const float change = topSpeed / secondsToTopSpeed * seconds / length;
        push.dx = x * change;
        push.dz = z * change;
    }
    push.jump = jumpPressed;
    jumpPressed = false;
    return push;
}
