#include <cmath>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "physics/BoundingSphere.h"
#include "sg/GLRenderer.h"
#include "sg/SgSpatialEntity.h"

namespace {
// A drawable that counts how often it really draws.
class CountingDrawable : public SgEntity {
public:
    explicit CountingDrawable(std::string n) : SgEntity(std::move(n)) {}
    void render(GLRenderer* r) override {
        if (beginDraw()) {
            ++draws;
            passOfLastDraw = r->transparentPass;
        }
        endDraw(r);
    }
    int draws = 0;
    bool passOfLastDraw = false;
};

class QueryCounter : public SgEntity {
public:
    explicit QueryCounter(std::string n) : SgEntity(std::move(n)) {}
    void collideWith(SgPhysEntity*, BoundingSphere*, bool) override { ++queries; }
    int queries = 0;
};

void modelView(float out[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, out); }
}  // namespace

TEST(SceneGraphGL, DrawablesDrawOncePerFrameAcrossBothPasses) {
    GLRenderer renderer;
    SgEntity root("root"), hidden("hidden");
    CountingDrawable visible("visible"), inner("inner");
    root.addChild(&visible);
    root.addChild(&hidden);
    hidden.addChild(&inner);
    hidden.setActive(false);

    for (int frame = 1; frame <= 3; ++frame) {
        renderer.renderScene(&root);
        EXPECT_EQ(visible.draws, frame);
        EXPECT_FALSE(visible.passOfLastDraw) << "reached in the opaque pass, drawn there";
    }
    EXPECT_EQ(inner.draws, 0) << "an inactive group hides its subtree in both passes";
    EXPECT_TRUE(renderer.transparentPass);
}

TEST(SceneGraphGL, SpatialTransformIsTranslateRotateScale) {
    GLRenderer renderer;
    SgSpatialEntity node("n", Vector3(1, 2, 3), Vector3(0, 0, 1), 90, Vector3(2, 2, 2));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    node.transform(&renderer);
    float m[16];
    modelView(m);
    glPopMatrix();
    // Column-major: x axis rotated onto +y and scaled by 2, translation last column.
    const float expected[16] = {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], expected[i], 1e-5f) << "element " << i;
    }

    SgSpatialEntity plain("p", Vector3(4, 5, 6), Vector3(0, 1, 0), 0, Vector3(1, 1, 1));
    glPushMatrix();
    glLoadIdentity();
    plain.transform(&renderer);
    modelView(m);
    glPopMatrix();
    const float translationOnly[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(m[i], translationOnly[i]) << "element " << i;
    }
}

TEST(SceneGraphGL, SpatialNodePrunesQueriesOutsideItsSphere) {
    SgSpatialEntity node("n", Vector3(), Vector3(), 0, Vector3(1, 1, 1));
    QueryCounter child("child");
    node.addChild(&child);
    BoundingSphere own(Vector3(0, 0, 0), 1.0);
    node.boundingSphere = &own;

    BoundingSphere far(Vector3(5, 0, 0), 1.0);
    node.collideWith(nullptr, &far, false);
    EXPECT_EQ(child.queries, 0);

    BoundingSphere touching(Vector3(2, 0, 0), 1.0);
    node.collideWith(nullptr, &touching, false);
    EXPECT_EQ(child.queries, 0) << "spheres that only touch do not collide";

    BoundingSphere near(Vector3(1.5f, 0, 0), 1.0);
    node.collideWith(nullptr, &near, false);
    EXPECT_EQ(child.queries, 1);

    // Detached and asked from the root: behaves as the root.
    node.collideWith(nullptr, &near, true);
    EXPECT_EQ(child.queries, 2);
}
