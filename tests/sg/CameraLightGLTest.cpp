#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "sg/GLRenderer.h"
#include "sg/SgCamera.h"
#include "sg/SgLightSource.h"

namespace {
struct LightState {
    float position[4], ambient[4], diffuse[4], specular[4], quadratic;
};

LightState query(GLenum light) {
    LightState s{};
    glGetLightfv(light, GL_POSITION, s.position);
    glGetLightfv(light, GL_AMBIENT, s.ambient);
    glGetLightfv(light, GL_DIFFUSE, s.diffuse);
    glGetLightfv(light, GL_SPECULAR, s.specular);
    glGetLightfv(light, GL_QUADRATIC_ATTENUATION, &s.quadratic);
    return s;
}

void expect4(const float* got, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(got[0], x);
    EXPECT_FLOAT_EQ(got[1], y);
    EXPECT_FLOAT_EQ(got[2], z);
    EXPECT_FLOAT_EQ(got[3], w);
}

class MatrixProbe : public SgEntity {
public:
    MatrixProbe() : SgEntity("probe") {}
    void render(GLRenderer*) override { glGetFloatv(GL_MODELVIEW_MATRIX, seen); }
    float seen[16] = {};
};
}  // namespace

TEST(LightSourceGL, FollowsItsTargetUntilReleased) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    Vector3 ball(3, 4, 5);
    SgLightSource light("l1", Vector3(0, 5, 0), GL_LIGHT5, GL_QUADRATIC_ATTENUATION, 0.005f, Vector3(0, 0, 0),
                        Vector3(0, 0.3f, 1), Vector3(1, 1, 1), &ball);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT5));
    EXPECT_EQ(light.position, ball) << "the target's position from the start";
    LightState s = query(GL_LIGHT5);
    expect4(s.position, 3, 4, 5, 1);
    expect4(s.diffuse, 0, 0.3f, 1, 1);
    EXPECT_FLOAT_EQ(s.quadratic, 0.005f);

    ball = Vector3(-1, 0.5f, 2);
    light.update(0.1);
    GLRenderer renderer;
    glTranslatef(0, 0, -10);  // a camera above the light: stored in eye space
    light.render(&renderer);
    glLoadIdentity();
    expect4(query(GL_LIGHT5).position, -1, 0.5f, -8, 1);

    light.setTarget(nullptr);
    ball = Vector3(7, 7, 7);
    light.update(0.1);
    EXPECT_EQ(light.position, Vector3(-1, 0.5f, 2)) << "stays where it was last updated";

    const LightState before = query(GL_LIGHT5);
    light.setDiffuse(Vector3(1, 0, 0));
    const LightState after = query(GL_LIGHT5);
    expect4(after.diffuse, 1, 0, 0, 1);
    expect4(after.ambient, before.ambient[0], before.ambient[1], before.ambient[2], before.ambient[3]);
    expect4(after.specular, 1, 1, 1, 1);
    expect4(after.position, before.position[0], before.position[1], before.position[2], before.position[3]);
    EXPECT_FLOAT_EQ(after.quadratic, 0.005f);
    EXPECT_EQ(light.position, Vector3(-1, 0.5f, 2));
    light.disable();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT5));
}

TEST(CameraGL, LoadsTheViewForItsChildrenAndRestoresTheMatrices) {
    SgSpatialEntity ball("ball", Vector3(2, 0.5f, -3), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera("camera", Vector3(0, 30, 20), &ball, false, true, false, 30, 1.5f, 1, 1000, 60, 1);
    MatrixProbe probe;
    camera.addChild(&probe);
    camera.update(0.02);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    camera.setPerspective();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float projection[16], expected[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glLoadIdentity();
    gluPerspective(30, 1.5, 1, 1000);
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection[i], expected[i]);
    }

    glLoadIdentity();
    gluLookAt(2, 30, 17, 2, 0.5, -3, 0, 1, 0);
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    glLoadIdentity();
    glTranslatef(5, 5, 5);  // whatever was loaded before is replaced, then restored
    GLRenderer renderer;
    camera.render(&renderer);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(probe.seen[i], expected[i], 1e-4f) << i;
    }
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CW);
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_FLOAT_EQ(after[12], 5);
    glFrontFace(GL_CCW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The play view (60 degrees, 4:3, 1..1000, eye 30 above and 20 behind the
// ball at the origin), read back from GL's matrices in a frame moved by the
// node that asks.
TEST(CameraLightGL, ViewFrustumSeesWhatTheCameraSees) {
    GLRenderer renderer;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(60, 4.0 / 3.0, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0, 30, 20, 0, 0, 0, 0, 1, 0);
    glTranslatef(5, 0, 0);  // a node 5 units along x: boxes are in its frame
    const Frustum view = renderer.viewFrustum();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    EXPECT_NEAR(view.getEye().x, -5.0f, 1e-3f);
    EXPECT_NEAR(view.getEye().y, 30.0f, 1e-3f);
    EXPECT_NEAR(view.getEye().z, 20.0f, 1e-3f);
    const struct {
        Vector3 low, high;
        bool visible;
        const char* what;
    } boxes[] = {
        {{-6, 0, -1}, {-4, 2, 1}, true, "the looked-at point"},
        {{-7, 0, 30}, {-3, 2, 34}, false, "behind the eye"},
        {{-90, 0, -1}, {-80, 2, 1}, false, "far to the left"},
        {{70, 0, -1}, {80, 2, 1}, false, "far to the right"},
        {{-6, 0, -900}, {-4, 2, -880}, false, "beyond the far plane"},
        {{-6, 60, -1}, {-4, 62, 1}, false, "above the view"},
        {{-120, 0, -1}, {120, 2, 1}, true, "a wall across the whole view"},
        {{-40, 0, -1}, {-25, 2, 1}, true, "a wall reaching into the left edge"},
    };
    for (const auto& b : boxes) {
        EXPECT_EQ(view.intersectsBox(b.low, b.high), b.visible) << b.what;
    }
    EXPECT_NEAR(view.sqrDistanceToBox(Vector3(-6, 0, 15), Vector3(-4, 40, 16)), 16.0f, 1e-3f);
    EXPECT_NEAR(view.sqrDistanceToBox(Vector3(-6, 29, 19), Vector3(-4, 31, 21)), 0.0f, 1e-3f);
    EXPECT_TRUE(Frustum().intersectsBox(Vector3(1e6f, 1e6f, 1e6f), Vector3(2e6f, 2e6f, 2e6f)));
}
