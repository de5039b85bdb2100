#include <cstdlib>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "sg/GLRenderer.h"
#include "sg/SgCamera.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgLightSource.h"
#include "sg/SgMaterial.h"
#include "sg/SgSphereMesh.h"
#include "sg/SgTexture.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {
// 64 x 64 checkerboard of 8-texel squares, cream and terracotta.
GLuint checkerTexture() {
    std::vector<unsigned char> texels(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            unsigned char* t = &texels[(y * 64 + x) * 4];
            t[0] = light ? 240 : 190;
            t[1] = light ? 230 : 90;
            t[2] = light ? 200 : 50;
            t[3] = 255;
        }
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}
}  // namespace

TEST(LitBallPictureGL, TexturedBallUnderTheFollowingCameraAndTwoLights) {
    GLRenderer renderer;
    OffscreenTarget target(256, 256);
    ASSERT_TRUE(target.complete());
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    const GLuint texture = checkerTexture();

    SgSpatialEntity player("player", Vector3(0, 2.5f, 0), Vector3(), 0, Vector3(1, 1, 1));
    SgCamera camera("camera", Vector3(0, 30, 20), &player, false, true, false, 30, 1, 1, 1000, 60, 1);
    Vector3 lamp(6, 9, 8);
    SgLightSource key("key", Vector3(0, 5, 0), GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.001f, Vector3(0, 0, 0),
                      Vector3(1, 1, 1), Vector3(1, 1, 1), &lamp);
    SgLightSource fill("fill", Vector3(-10, 12, -4), GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.003f,
                       Vector3(0, 0, 0), Vector3(0.2f, 0.4f, 1), Vector3(0, 0, 0), nullptr);
    SgTexture floorTexture("floorTexture", texture, GL_MODULATE), ballTexture("ballTexture", texture, GL_MODULATE);
    SgMaterial floorMaterial("floorMaterial", 0.3f, 0.3f, 0.3f, 1, 0.9f, 0.9f, 0.9f, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1,
                             GL_FRONT);
    SgMaterial ballMaterial("ballMaterial", 0.1f, 0.1f, 0.2f, 1, 0.3f, 0.6f, 1, 1, 1, 1, 1, 1, 40, 0, 0.05f, 0.15f,
                            1, GL_FRONT);
    ballMaterial.compile();
    auto* floor = new SgGeometryMesh("floor", Vector3(0, 0, 0), GL_QUADS);
    // Clockwise seen from above, as the camera's front faces are.
    const float corners[4][2] = {{-8, -8}, {8, -8}, {8, 8}, {-8, 8}};
    for (const auto& c : corners) {
        floor->addVertex(new Vector3(c[0], 0, c[1]));
        floor->addTextureCoord(new TextureCoord2{(c[0] + 8) / 8, (c[1] + 8) / 8});
    }
    floor->addNormal(new Vector3(0, 1, 0));
    floor->setVerticesPerNormal(4);
    floor->compile();
    auto* ball = new SgSphereMesh("ball", Vector3(0, 0, 0), 2.5f, 24, 24);

    camera.addChild(&key);
    camera.addChild(&fill);
    camera.addChild(&floorTexture);
    floorTexture.addChild(&floorMaterial);
    floorMaterial.addChild(floor);
    camera.addChild(&player);
    player.addChild(&ballTexture);
    ballTexture.addChild(&ballMaterial);
    ballMaterial.addChild(ball);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    camera.setPerspective();
    player.position = Vector3(1, 2.5f, -1);
    camera.update(0.02);
    key.update(0.02);
    renderer.renderScene(&camera);
    const std::vector<unsigned char> pixels = target.readPixels();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    EXPECT_TRUE(writePng("lit_ball.png", 256, 256, pixels));
    auto at = [&](int x, int y) { return &pixels[(static_cast<size_t>(y) * 256 + x) * 4]; };
    auto brightness = [&](int x, int y) { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; };
    // The ball covers the centre. The lamp stands to its right and towards
    // the camera (low in the picture, rows counting upwards); the opposite
    // side gets only the faint blue fill light.
    EXPECT_GT(at(128, 128)[2], 100) << "the blue ball at the centre";
    EXPECT_GT(brightness(128 + 8, 128 - 8), brightness(128 - 8, 128 + 8) + 150) << "lit from the lamp's side";
    // The floor shows its checkerboard: sharp steps between neighbours that
    // smooth shading alone never makes.
    int edges = 0;
    for (int x = 0; x + 1 < 200; ++x) {
        edges += std::abs(at(x + 1, 10)[1] - at(x, 10)[1]) > 25;
    }
    EXPECT_GE(edges, 8) << "the floor texture along row 10";
    EXPECT_GT(brightness(10, 10), 60) << "the lit floor fills the view";

    key.disable();
    fill.disable();
    delete ball;
    delete floor;
    glDeleteTextures(1, &texture);
    glPopAttrib();
}
