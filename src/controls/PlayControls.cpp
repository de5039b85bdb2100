#include "controls/PlayControls.h"

#include <cmath>

void PlayControls::set(PlayAction action, bool held) {
    bool& state = down[index(action)];
    if (action == PlayAction::Jump && held && !state) {
        jumpPressed = true;
    }
    state = held;
}

void PlayControls::setStick(float x, float z) {
    stickX = x;
    stickZ = z;
}

void PlayControls::releaseAll() {
    down.fill(false);
    jumpPressed = false;
    setStick(0.0f, 0.0f);
}

PlayControls::Push PlayControls::tick(float topSpeed, float seconds, float vx, float vz) {
    auto axis = [this](PlayAction negative, PlayAction positive) {
        return (held(positive) ? 1.0f : 0.0f) - (held(negative) ? 1.0f : 0.0f);
    };
    const float x = axis(PlayAction::RollLeft, PlayAction::RollRight);
    const float z = axis(PlayAction::RollForward, PlayAction::RollBack);
    // The most a tick may change the velocity by, units/s.
    const float rate = topSpeed / secondsToTopSpeed * seconds;
    Push push;
    const float length = std::hypot(x, z);
    if (length > 0.0f) {
        push.dx = x * rate / length;
        push.dz = z * rate / length;
    }
    if (stickX != 0.0f || stickZ != 0.0f) {
        const float towardX = stickX * topSpeed - (vx + push.dx);
        const float towardZ = stickZ * topSpeed - (vz + push.dz);
        const float distance = std::hypot(towardX, towardZ);
        const float share = distance > rate ? rate / distance : 1.0f;
        push.dx += towardX * share;
        push.dz += towardZ * share;
    }
    push.jump = jumpPressed;
    jumpPressed = false;
    return push;
}
