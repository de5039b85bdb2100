#include <cmath>

#include <gtest/gtest.h>

#include "controls/PlayControls.h"

// One tick's push is as long whichever way the held actions point, opposite
// actions cancel; a jump is one press however long it is held, and letting
// go of everything forgets a press no tick has seen.
TEST(PlayControls, PushesEveryWayAtOneRateOppositesCancelAndAJumpIsOnePress) {
    using A = PlayAction;
    const float perTick = 5.0f / PlayControls::secondsToTopSpeed / 60.0f;
    const struct {
        std::initializer_list<A> held;
        float dx, dz;
    } cases[] = {{{A::RollRight}, 1, 0},  {{A::RollForward}, 0, -1}, {{A::RollLeft, A::RollBack}, -1, 1},
                 {{A::RollLeft, A::RollRight}, 0, 0}, {{A::RollLeft, A::RollRight, A::RollBack, A::Jump}, 0, 1}};
    for (const auto& c : cases) {
        PlayControls controls;
        for (A action : c.held) {
            controls.set(action, true);
            controls.set(action, true);  // a repeat
        }
        const PlayControls::Push push = controls.tick(5.0f, 1.0f / 60.0f, 0.0f, 0.0f);
        const float length = std::hypot(c.dx, c.dz);
        EXPECT_NEAR(push.dx, length > 0 ? c.dx / length * perTick : 0.0f, 1e-6f);
        EXPECT_NEAR(push.dz, length > 0 ? c.dz / length * perTick : 0.0f, 1e-6f);
        EXPECT_EQ(push.jump, controls.held(A::Jump));
        EXPECT_FALSE(controls.tick(5.0f, 1.0f / 60.0f, 0.0f, 0.0f).jump) << "held on, it jumps once";
        controls.set(A::Jump, false);
        controls.set(A::Jump, true);
        controls.releaseAll();
        const PlayControls::Push released = controls.tick(5.0f, 1.0f / 60.0f, 0.0f, 0.0f);
        EXPECT_TRUE(released.dx == 0.0f && released.dz == 0.0f && !released.jump);
    }
}
