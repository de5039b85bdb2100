#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gui/SgGUIHover.h"
#include "labyrinth/LabyrinthTestSupport.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "sg/SgMaterial.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {

std::vector<unsigned char> readTexture(unsigned id, int size) {
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 4);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

void matrices(float projection[16], float modelview[16]) {
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
}

}  // namespace

TEST(LabyrinthMap, WallsOpaqueFreeTilesTransparentStateRestored) {
    TextureManager textures;
    GLRenderer renderer;
    for (int n : {10, 32}) {
        const auto labyrinth = buildLabyrinth(n, 1000u + n, &textures);
        SgEntity player("player");
        SgEntity particles("particleController");
        particles.setActive(false);
        labyrinth->addChild(&player);
        labyrinth->addChild(&particles);

        glViewport(3, 4, 200, 100);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30.0, 1.5, 1.0, 50.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        float projectionBefore[16], modelviewBefore[16];
        matrices(projectionBefore, modelviewBefore);
        const bool lightingBefore = glIsEnabled(GL_LIGHTING);
        auto* hover = static_cast<SgGUIHover*>(labyrinth->findChild("goalHover"));

        textures.deleteTexture("labyrinthMapTexture");
        labyrinth->renderLabyrinthMapToTexture(&renderer, &textures);

        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 3);
        EXPECT_EQ(viewport[2], 200);
        EXPECT_EQ(viewport[3], 100);
        float projectionAfter[16], modelviewAfter[16];
        matrices(projectionAfter, modelviewAfter);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(projectionAfter[i], projectionBefore[i]);
            EXPECT_EQ(modelviewAfter[i], modelviewBefore[i]);
        }
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING), lightingBefore);
        GLint frontFace = 0;
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
        EXPECT_EQ(frontFace, GL_CCW);
        EXPECT_EQ(hover->getSize(), 1.5f);
        EXPECT_TRUE(player.isActive());
        EXPECT_FALSE(particles.isActive());
        EXPECT_TRUE(labyrinth->findChild("floorMeshMaterial")->isActive());
        EXPECT_TRUE(labyrinth->findChild("deepFloorMeshMaterial")->isActive());
        EXPECT_FALSE(static_cast<SgMaterial*>(labyrinth->findChild("wallMaterial"))->bypass);
        EXPECT_TRUE(static_cast<SgMaterial*>(labyrinth->findChild("wallHUDTextureMaterial"))->bypass);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        const unsigned id = textures.getTextureId("labyrinthMapTexture");
        ASSERT_NE(id, 0u);
        const int size = SgLabyrinth::mapSize;
        const auto pixels = readTexture(id, size);

        // Map x = world x to the right, map up = world -z; pixel rows bottom first.
        const float e = static_cast<float>(n);  // half the maze width with s = 2
        const float perUnit = size / (2.0f * e);
        const Vector3 goal = labyrinth->getGoal()->position;
        const float goalX = goal.x + 1.0f, goalZ = goal.z + 1.0f, marker = 4.5f;
        int wallPixels = 0, freePixels = 0;
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                const Tile* tile = labyrinth->getTile(row, column);
                const float x0 = tile->position.x, z0 = tile->position.z;
                const bool underMarker = x0 + 2.0f > goalX - marker && x0 < goalX + marker &&
                                         z0 + 2.0f > goalZ - marker && z0 < goalZ + marker;
                if (underMarker) {
                    continue;
                }
                const int px0 = static_cast<int>(std::ceil((x0 + e) * perUnit)) + 1;
                const int px1 = static_cast<int>(std::floor((x0 + 2.0f + e) * perUnit)) - 2;
                const int py0 = static_cast<int>(std::ceil((e - z0 - 2.0f) * perUnit)) + 1;
                const int py1 = static_cast<int>(std::floor((e - z0) * perUnit)) - 2;
                for (int py = py0; py <= py1; ++py) {
                    for (int px = px0; px <= px1; ++px) {
                        const unsigned char alpha = pixels[(static_cast<size_t>(py) * size + px) * 4 + 3];
                        if (tile->isFree) {
                            ASSERT_EQ(alpha, 0) << "free tile " << row << "," << column << " N " << n;
                            ++freePixels;
                        } else {
                            ASSERT_EQ(alpha, 255) << "wall tile " << row << "," << column << " N " << n;
                            ++wallPixels;
                        }
                    }
                }
            }
        }
        EXPECT_GT(wallPixels, 1000);
        EXPECT_GT(freePixels, 1000);
        // The enlarged goal marker shows on the map.
        const int gx = static_cast<int>((goalX + e) * perUnit), gy = static_cast<int>((e - goalZ) * perUnit);
        EXPECT_GT(pixels[(static_cast<size_t>(gy) * size + gx) * 4 + 3], 0);

        if (n == 32) {
            EXPECT_TRUE(writePng("labyrinth_map.png", size, size, pixels));
        }
        labyrinth->deleteChild("player");
        labyrinth->deleteChild("particleController");
    }
    textures.deleteTexture("labyrinthMapTexture");
}

TEST(LabyrinthMap, WholeMazeFromAbove) {
    TextureManager textures;
    GLRenderer renderer;
    const auto labyrinth = buildLabyrinth(32, 2024, &textures);
    OffscreenTarget target(768, 768);
    ASSERT_TRUE(target.complete());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 80.0, 14.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float light[4] = {0.3f, 1.0f, 0.5f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFrontFace(GL_CW);
    renderer.transparentPass = false;
    labyrinth->render(&renderer);
    renderer.transparentPass = true;
    labyrinth->render(&renderer);
    const auto pixels = target.readPixels();
    std::vector<float> depth(static_cast<size_t>(target.width) * target.height);
    glReadPixels(0, 0, target.width, target.height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    // Each wall tile's centre on the floor is hidden by its wall; free tiles
    // show the floor there, but for some (a tenth here) that a neighbouring
    // wall hides from this slanted, wide view.
    int walls = 0, coveredWalls = 0, freeTiles = 0, floorShown = 0;
    const float half = labyrinth->getTileSize() * 0.5f;
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 32; ++column) {
            const Tile* tile = labyrinth->getTile(row, column);
            GLdouble x = 0, y = 0, z = 0;
            gluProject(tile->position.x + half, 0.0, tile->position.z + half, modelview, projection, viewport, &x,
                       &y, &z);
            ASSERT_TRUE(x >= 0 && y >= 0 && x < target.width && y < target.height) << row << "," << column;
            const float shown = depth[static_cast<size_t>(y) * target.width + static_cast<size_t>(x)];
            if (tile->isFree) {
                ++freeTiles;
                floorShown += std::fabs(shown - z) < 1e-5 ? 1 : 0;
            } else {
                ++walls;
                coveredWalls += shown < z - 1e-5 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(walls, 200);
    EXPECT_EQ(coveredWalls, walls);
    EXPECT_GT(freeTiles, 200);
    EXPECT_GT(floorShown, freeTiles * 3 / 4);
    EXPECT_TRUE(writePng("labyrinth_top_down.png", target.width, target.height, pixels));
}
