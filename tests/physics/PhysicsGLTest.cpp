#include <GL/glew.h>
#include <gtest/gtest.h>

#include "physics/SgParticle.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "sg/GLRenderer.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {
constexpr int size = 64;

// A lit unit quad in the xy plane, drawn with the default material.
class LitQuad : public SgEntity {
public:
    LitQuad() : SgEntity("quad") {}
    void render(GLRenderer*) override {
        glNormal3f(0, 0, 1);
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, 0);
        glVertex3f(1, -1, 0);
        glVertex3f(1, 1, 0);
        glVertex3f(-1, 1, 0);
        glEnd();
    }
};

// Orthographic view of [-2, 2]^2 looking down -z, turned by `yaw` degrees.
void view(float yaw) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(yaw, 0, 1, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

const unsigned char* pixel(const std::vector<unsigned char>& rgba, int x, int y) {
    return &rgba[(static_cast<size_t>(y) * size + x) * 4];
}

void save(const std::string& name, const std::vector<unsigned char>& rgba) {
    writePng(name, size, size, rgba);
}
}  // namespace

TEST(PhysicsGL, ParticleBillboardFacesTheCameraInTheParticlesColour) {
    OffscreenTarget target(size, size);
    ASSERT_TRUE(target.complete());
    GLRenderer renderer;
    SgPlayer player("player", Vector3(0, -100, 0), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 100.0f);
    SgParticleController swarm("particleController", &player, 5, 1, Vector3(0, 0.5f, 0.03f), 5, 100, 0.5f, 100);
    auto* particle = static_cast<SgParticle*>(swarm.getChildren()[0]);
    particle->position = Vector3(0, 0, 0);
    particle->color = Vector3(1.0f, 0.5f, 0.0f);

    // Seen from the front and from the side the quad covers the same square
    // (half-size 0.8 of a 4-unit view: 12.8 pixels each way from the centre).
    for (float yaw : {0.0f, 90.0f, 35.0f}) {
        view(yaw);
        renderer.transparentPass = true;
        swarm.render(&renderer);
        const std::vector<unsigned char> rgba = target.readPixels();
        save("particle_yaw" + std::to_string(static_cast<int>(yaw)) + ".png", rgba);
        const unsigned char* centre = pixel(rgba, 32, 32);
        EXPECT_GT(centre[0], 240) << yaw;
        EXPECT_NEAR(centre[1], 128, 3) << yaw;
        EXPECT_LT(centre[2], 5) << yaw;
        EXPECT_GT(pixel(rgba, 32 + 11, 32 - 11)[0], 240) << "inside the corner, yaw " << yaw;
        EXPECT_EQ(pixel(rgba, 32 + 15, 32)[0], 0) << "outside the quad, yaw " << yaw;
        EXPECT_EQ(pixel(rgba, 32, 32 + 15)[0], 0) << "outside the quad, yaw " << yaw;
    }
}

TEST(PhysicsGL, PlayerGlowsInItsColourWithoutLights) {
    OffscreenTarget target(size, size);
    ASSERT_TRUE(target.complete());
    GLRenderer renderer;
    glEnable(GL_LIGHTING);
    for (int i = 0; i < 8; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
    SgPlayer player("player", Vector3(0, 0, 0), 10.0f, 0.5f, 5.0f, Vector3(0, 0, 1), 100.0f);
    LitQuad quad;
    player.addChild(&quad);

    view(0.0f);
    quad.render(&renderer);
    const unsigned char unlit = pixel(target.readPixels(), 32, 32)[2];

    view(0.0f);
    renderer.transparentPass = false;
    player.render(&renderer);
    const std::vector<unsigned char> rgba = target.readPixels();
    save("player_glow.png", rgba);
    EXPECT_LT(unlit, 40) << "no lights: only the faint global ambient";
    EXPECT_GT(pixel(rgba, 32, 32)[2], 240) << "the ball's colour is its emission";
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL)) << "colour material is switched off again";

    // The glow is set up once per frame: after the opaque pass the transparent
    // one only walks the children. (Colour material leaves the emission it set
    // in the material, so clear it first; the ambient it set before switching
    // to emission stays, lit by the faint global ambient.)
    const float black[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    view(0.0f);
    renderer.transparentPass = true;
    player.render(&renderer);
    EXPECT_LT(pixel(target.readPixels(), 32, 32)[2], 80);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glDisable(GL_LIGHTING);
}
