#include <cmath>

#include <gtest/gtest.h>

#include "controls/PlayControls.h"

namespace {
constexpr float topSpeed = 5.0f;
constexpr float tick = 1.0f / 60.0f;

float pushLength(PlayControls& controls) {
    const PlayControls::Push push = controls.tick(topSpeed, tick);
    return std::hypot(push.dx, push.dz);
}
}  // namespace

// One tick's push is the same length whichever way the held actions point;
// opposite actions cancel, and letting go stops the push.
TEST(PlayControls, PushesEveryWayAtOneRateAndOppositesCancel) {
    const float perTick = topSpeed / PlayControls::secondsToTopSpeed * tick;
    const struct {
        std::initializer_list<PlayAction> held;
        float dx, dz;
    } cases[] = {
        {{PlayAction::RollRight}, 1, 0},
        {{PlayAction::RollLeft}, -1, 0},
        {{PlayAction::RollForward}, 0, -1},
        {{PlayAction::RollBack}, 0, 1},
        {{PlayAction::RollRight, PlayAction::RollForward}, 1, -1},
        {{PlayAction::RollLeft, PlayAction::RollRight}, 0, 0},
        {{PlayAction::RollLeft, PlayAction::RollRight, PlayAction::RollBack}, 0, 1},
    };
    for (const auto& c : cases) {
        PlayControls controls;
        for (PlayAction action : c.held) {
            controls.set(action, true);
        }
        const PlayControls::Push push = controls.tick(topSpeed, tick);
        const float length = std::hypot(c.dx, c.dz);
        EXPECT_NEAR(push.dx, length > 0 ? c.dx / length * perTick : 0.0f, 1e-6f);
        EXPECT_NEAR(push.dz, length > 0 ? c.dz / length * perTick : 0.0f, 1e-6f);
        controls.releaseAll();
        EXPECT_EQ(pushLength(controls), 0.0f);
    }
}

// A jump is one press: holding the action or pressing it again while held
// (a key's repeat) jumps once; letting go of everything forgets a press
// the world has not yet seen.
TEST(PlayControls, AJumpIsOnePressAndReleaseForgetsIt) {
    PlayControls controls;
    controls.set(PlayAction::Jump, true);
    controls.set(PlayAction::Jump, true);
    EXPECT_TRUE(controls.tick(topSpeed, tick).jump);
    EXPECT_FALSE(controls.tick(topSpeed, tick).jump);
    controls.set(PlayAction::Jump, false);
    controls.set(PlayAction::Jump, true);
    controls.releaseAll();
    EXPECT_FALSE(controls.held(PlayAction::Jump));
    EXPECT_FALSE(controls.tick(topSpeed, tick).jump);
}
