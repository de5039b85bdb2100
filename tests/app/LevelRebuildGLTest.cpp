// Rebuilding levels many times over keeps exactly one of every per-level
// object in the tree and leaks nothing (checked by LeakSanitizer in the
// sanitizer build; the globals keep the last level reachable).
#include <string>

#include <gtest/gtest.h>

#include "app/GameWorld.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgTrigger.h"
#include "resources/TextureManager.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgShader.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {
int countNamed(const SgEntity* node, const std::string& name) {
    int n = 0;
    for (const SgEntity* child : node->getChildren()) {
        n += (child->getName() == name ? 1 : 0) + countNamed(child, name);
    }
    return n;
}

void expectOneOfEachLevelObject(int round) {
    for (const char* name : {"laby1", "player", "physCtrl1", "particleController", "goalTrigger", "sphereMaterial",
                             "particleBlending", "sphereTexture"}) {
        ASSERT_EQ(countNamed(&sceneGraphNode, name), 1) << name << " after rebuild " << round;
    }
    ASSERT_EQ(sceneGraphNode.findChild("laby1"), labyrinth);
    ASSERT_EQ(sceneGraphNode.findChild("player"), player);
    ASSERT_EQ(sceneGraphNode.findChild("particleController"), particleController);
    ASSERT_EQ(sceneGraphNode.findChild("goalTrigger"), goalTrigger);
    ASSERT_EQ(labyrinth->getParent(), shaderSupported ? static_cast<SgEntity*>(testShader) : camera);
    // The maze is built for the lighting in use (one floor slab, or a block
    // per tile for vertex lighting), and every wall top drains health.
    size_t floorVertices = 0;
    for (const SgEntity* mesh : labyrinth->findChild("labyrinthFloor")->getChildren()) {
        floorVertices += static_cast<const SgGeometryMesh*>(mesh)->getVertices().size();
    }
    const size_t tiles = static_cast<size_t>(curLevelSize) * static_cast<size_t>(curLevelSize);
    ASSERT_EQ(floorVertices, shaderSupported ? 20u : 20u * tiles) << "after rebuild " << round;
    for (const WallContainer* container : labyrinth->getWallContainers()) {
        ASSERT_EQ(container->trigger->callback, &wallTriggerFunc) << "after rebuild " << round;
    }
}

// Only one map texture may be registered: delete it once and no other may
// answer to the name. The map is drawn again afterwards.
void expectOneMapTexture() {
    ASSERT_NE(textureManager.getTextureId("labyrinthMapTexture"), 0u);
    textureManager.deleteTexture("labyrinthMapTexture");
    EXPECT_EQ(textureManager.getTextureId("labyrinthMapTexture"), 0u);
    labyrinth->renderLabyrinthMapToTexture(&renderer, &textureManager);
}

void expectNoLeaks() {
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "LeakSanitizer found leaks (report above)";
#endif
}

class LevelRebuildGL : public testing::Test {
protected:
    void SetUp() override {
        gameworld::ensureWorld();
        gameworld::enterState(gameworld::State::Menu);
        savedSize = curLevelSize;
        savedEnemies = curEnemyCount;
        savedHealth = curPlayerHealth;
        savedShaders = shaderSupported;
    }
    void TearDown() override {
        testing::internal::CaptureStdout();
        mainMenuOptionsChanged(static_cast<unsigned>(savedSize), static_cast<unsigned>(savedEnemies), savedHealth,
                               savedShaders);
        testing::internal::GetCapturedStdout();
    }
    int savedSize = 0;
    int savedEnemies = 0;
    unsigned savedHealth = 0;
    bool savedShaders = false;
};

TEST_F(LevelRebuildGL, AHundredNewLevelsLeakNothing) {
    testing::internal::CaptureStdout();  // every maze is printed
    mainMenuOptionsChanged(20, 5, 500, shaderSupported);
    for (int round = 1; round <= 100; ++round) {
        player->health = 400.0f;
        initNewGame();
        expectOneOfEachLevelObject(round);
        if (HasFatalFailure()) {
            break;
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_FLOAT_EQ(player->health, 400.0f);
    expectOneMapTexture();
    expectNoLeaks();
}

// Switching the lighting program off and on again moves the maze between
// the camera and the shader node every time.
TEST_F(LevelRebuildGL, AHundredOptionChangesLeakNothing) {
    const bool canShade = gameworld::shadersAtInit();
    testing::internal::CaptureStdout();
    for (int round = 1; round <= 100; ++round) {
        const bool shade = canShade && round % 2 == 0;
        mainMenuOptionsChanged(20 + static_cast<unsigned>(round % 3), 5 + static_cast<unsigned>(round % 4), 300,
                               shade);
        expectOneOfEachLevelObject(round);
        if (HasFatalFailure()) {
            break;
        }
        ASSERT_EQ(labyrinth->getGridSize(), 20 + round % 3);
        ASSERT_EQ(particleController->maxParticles, 5 + round % 4);
    }
    testing::internal::GetCapturedStdout();
    expectOneMapTexture();
    expectNoLeaks();
}
}  // namespace
