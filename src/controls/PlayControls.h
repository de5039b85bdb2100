#pragma once

#include <array>
#include <cstdint>

// What a player does with the ball through keys (and any other device that
// reports presses and releases): roll four ways, jump, look from above.
// The values are stored in replay files: never renumber, only add.
enum class PlayAction : uint8_t { RollLeft, RollRight, RollForward, RollBack, Jump, LookFromAbove };
constexpr int playActionCount = 6;

// The held play actions and the push they give the ball in one tick. A
// device's layer reports each press and release; the world asks tick() once
// per tick, so the ball is pushed the same at every frame rate.
class PlayControls {
public:
    // Holding one roll action takes a ball at rest to its top speed in this
    // many seconds (a little longer on the floor, whose friction takes about
    // 1 % of the speed a second).
    static constexpr float secondsToTopSpeed = 0.5f;

    struct Push {
        float dx = 0.0f;  // change of the ball's velocity along x, units/s
        float dz = 0.0f;  // along z; forward (away from the camera) is -z
        bool jump = false;  // a jump was pressed since the last tick
    };

    // A press of an action already held (a key's repeat) changes nothing.
    void set(PlayAction action, bool held);
    // A stick's deflection, each axis in [-1, 1] after its dead zone
    // (forward is -z): the ball is steered towards the deflection times its
    // top speed, its velocity changing at most as fast as a roll key's push.
    void setStick(float x, float z);
    bool held(PlayAction action) const { return down[index(action)]; }
    // Lets go of everything, a pressed jump and the stick included (pause,
    // focus loss).
    void releaseAll();
    // The push of one tick of `seconds` for a ball whose top speed is
    // `topSpeed` (units/s) and whose horizontal velocity is (vx, vz): the
    // held roll actions' direction, diagonals as fast as straight lines,
    // opposite actions cancelling; then the stick's steering. Uses up the
    // pressed jump.
    Push tick(float topSpeed, float seconds, float vx, float vz);

private:
    static std::size_t index(PlayAction action) { return static_cast<std::size_t>(action); }

    std::array<bool, playActionCount> down{};
    bool jumpPressed = false;
    float stickX = 0.0f;
    float stickZ = 0.0f;
};
