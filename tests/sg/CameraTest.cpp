#include <gtest/gtest.h>

#include "sg/SgCamera.h"

namespace {
// The game's camera: eye height fixed at 30, x and z follow the ball.
SgCamera gameCamera(SgSpatialEntity* target) {
    return SgCamera("camera", Vector3(0, 30, 20), target, false, true, false, 30, 4.0f / 3, 1, 1000, 60, 1);
}

class UpdateCounter : public SgEntity {
public:
    UpdateCounter() : SgEntity("child") {}
    void update(double dt) override { total += dt; }
    double total = 0;
};
}  // namespace

TEST(Camera, FollowsTheTargetOnTheAxesThatAreNotFixed) {
    SgSpatialEntity ball("ball", Vector3(3, 0.5f, -7), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera = gameCamera(&ball);
    UpdateCounter child;
    camera.addChild(&child);
    camera.update(0.25);
    EXPECT_EQ(camera.position, Vector3(3, 30, 13));
    EXPECT_EQ(camera.getLookAt(), ball.position);
    EXPECT_DOUBLE_EQ(child.total, 0.25);

    ball.position = Vector3(-4, 2, 9);
    camera.update(0.1);
    EXPECT_EQ(camera.position, Vector3(-4, 30, 29)) << "y is fixed";

    SgCamera free("free", Vector3(1, 1, 1), &ball, true, false, false, 30, 1, 1, 100, 60, 1);
    free.update(0.1);
    EXPECT_EQ(free.position, Vector3(1, 32, 29)) << "x is fixed, y follows 30 above";

    free.setTarget(nullptr);
    free.update(0.1);
    EXPECT_EQ(free.position, Vector3(1, 32, 29)) << "without a target the eye stays";
}

TEST(Camera, ZoomOutGlidesAwayThenParksAboveMaxHeight) {
    SgSpatialEntity ball("ball", Vector3(0, 0.5f, 0), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera = gameCamera(&ball);
    camera.update(0.1);
    camera.zoomOut();
    const Vector3 sight = camera.position - ball.position;
    int updates = 0;
    while (camera.position.y <= 60 && updates < 100) {
        camera.update(0.1);
        ++updates;
        // Away from the target along the line of sight, by a tenth each time.
        const Vector3 now = camera.position - ball.position;
        EXPECT_NEAR(now.cross(sight).length(), 0, 1e-3f);
    }
    // The eye's distance grows by 1.1 per update: 29.5 * 1.1^8 + 0.5 > 60.
    EXPECT_EQ(updates, 8);
    const Vector3 parked = camera.position;

    ball.position = Vector3(5, 0.5f, -5);
    for (int i = 0; i < 5; ++i) {
        camera.update(0.1);
    }
    EXPECT_EQ(camera.position, parked) << "parked: neither gliding nor following";
    EXPECT_EQ(camera.getLookAt(), ball.position) << "but still looking at the target";
    EXPECT_TRUE(camera.isZoomingOut());
}

TEST(Camera, ZoomInGlidesBackAndEndsBelowThirty) {
    SgSpatialEntity ball("ball", Vector3(0, 0.5f, 0), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera = gameCamera(&ball);
    camera.update(0.1);
    camera.zoomOut();
    for (int i = 0; i < 20; ++i) {
        camera.update(0.1);
    }

    camera.zoomIn();
    const Vector3 before = camera.position;
    camera.update(0.0);
    EXPECT_EQ(camera.position, before) << "dt = 0 does not move the eye";
    EXPECT_TRUE(camera.isZoomingIn());

    float lastY = camera.position.y;
    int updates = 0;
    while (camera.isZoomingIn() && updates < 100) {
        camera.update(0.1);
        EXPECT_LE(camera.position.y, lastY);
        lastY = camera.position.y;
        ++updates;
    }
    EXPECT_FALSE(camera.isZoomingIn());
    EXPECT_LT(camera.position.y, 30);
    EXPECT_GT(camera.position.y, 30 - 0.1f * 30) << "ends within one glide step below 30";

    ball.position = Vector3(2, 0.5f, 2);
    camera.update(0.1);
    EXPECT_FLOAT_EQ(camera.position.x, 2);
    EXPECT_FLOAT_EQ(camera.position.z, 22) << "following resumes at once";
}

TEST(Camera, ZoomInStartingBelowThirtyEndsAtOnce) {
    SgSpatialEntity ball("ball", Vector3(1, 0, 1), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera("camera", Vector3(0, 25, 20), &ball, false, false, false, 30, 1, 1, 1000, 60, 1);
    camera.zoomIn();
    camera.update(0.1);
    EXPECT_EQ(camera.position, Vector3(0, 25, 20));
    EXPECT_FALSE(camera.isZoomingIn());
    camera.update(0.1);
    EXPECT_EQ(camera.position, Vector3(1, 30, 21)) << "snaps back to the follow offset";
}
