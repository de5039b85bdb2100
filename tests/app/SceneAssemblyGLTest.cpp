// The tree init() leaves behind, in both forms: with the lighting program
// when OpenGL 2.0 is there, and without it (run by an end-to-end script under
// MESA_GL_VERSION_OVERRIDE=1.5).
#include <cstdio>
#include <string>
#include <typeindex>
#include <vector>

#include <AL/al.h>
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/GameWorld.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgTrigger.h"
#include "resources/AudioManager.h"
#include "resources/TextureManager.h"
#include "sg/SgBlendState.h"
#include "sg/SgLightSource.h"
#include "sg/SgMaterial.h"
#include "sg/SgShader.h"
#include "sg/SgSphereMesh.h"
#include "sg/SgTexture.h"

using gameworld::NodeRecord;

namespace {
struct Expected {
    const char* name;
    std::type_index cls;
    kelvoSgType type;
    // Nodes that build their own children (the maze's floor and walls, the
    // swarm's particles, the overlay's screens) are compared only on the
    // children the shell hangs below them, which come last.
    bool buildsOwnChildren;
    std::vector<Expected> children;
};

Expected expectedTree(bool withShader) {
    Expected laby{"laby1", typeid(SgLabyrinth), SG_LABYRINTH, true,
                  {{"physCtrl1", typeid(SgPhysController), SG_PHYS_CONTROLLER, false,
                    {{"player", typeid(SgPlayer), SG_PLAYER, false,
                      {{"sphereMaterial", typeid(SgMaterial), SG_MATERIAL, false,
                        {{"sphere", typeid(SgSphereMesh), SG_SPHERE_MESH, false, {}}}}}}}},
                   {"particleBlending", typeid(SgBlendState), SG_BLEND_STATE, false,
                    {{"sphereTexture", typeid(SgTexture), SG_TEXTURE, false,
                      {{"particleController", typeid(SgParticleController), SG_PARTICLE_CONTROLLER, true, {}}}}}}}};
    Expected world = withShader ? Expected{"testShader", typeid(SgShader), SG_SHADER, false, {laby}} : laby;
    return {"node", typeid(SgEntity), SG_ENTITY, false,
            {{"camera", typeid(SgCamera), SG_SPATIAL_ENTITY, false,
              {{"l1", typeid(SgLightSource), SG_LIGHT_SOURCE, false, {}},
               {"l2", typeid(SgLightSource), SG_LIGHT_SOURCE, false, {}},
               {"l3", typeid(SgLightSource), SG_LIGHT_SOURCE, false, {}},
               {"goalTrigger", typeid(SgTrigger), SG_SPATIAL_ENTITY, false, {}},
               world}},
             {"mainGUI", typeid(SgGUI), SG_ENTITY, true, {}}}};
}

void expectMatches(const NodeRecord& actual, const Expected& expected, const std::string& path) {
    const std::string here = path + "/" + expected.name;
    EXPECT_EQ(actual.name, expected.name) << "at " << here;
    EXPECT_TRUE(actual.cls == expected.cls) << "class of " << here << " is " << actual.cls.name();
    EXPECT_EQ(actual.type, expected.type) << "type tag of " << here;
    if (expected.buildsOwnChildren) {
        ASSERT_GE(actual.children.size(), expected.children.size()) << "children of " << here;
    } else {
        ASSERT_EQ(actual.children.size(), expected.children.size()) << "children of " << here;
    }
    const size_t first = actual.children.size() - expected.children.size();
    for (size_t i = 0; i < expected.children.size(); ++i) {
        expectMatches(actual.children[first + i], expected.children[i], here);
    }
}

int countNamed(const NodeRecord& node, const std::string& name) {
    int n = node.name == name ? 1 : 0;
    for (const NodeRecord& child : node.children) {
        n += countNamed(child, name);
    }
    return n;
}

class SceneAssemblyGL : public testing::Test {
protected:
    void SetUp() override { gameworld::ensureWorld(); }
};

TEST_F(SceneAssemblyGL, InitBuildsTheWholeTreeUnderAnInactiveCamera) {
    const bool withShader = gameworld::shadersAtInit();
    // Read by the script that runs this test on a driver below OpenGL 2.0.
    printf("scene tree checked %s the lighting program\n", withShader ? "with" : "without");
    EXPECT_EQ(withShader, GLEW_VERSION_2_0 != 0);

    const NodeRecord& tree = gameworld::treeAfterInit();
    expectMatches(tree, expectedTree(withShader), "");

    ASSERT_EQ(tree.children.size(), 2u);
    EXPECT_FALSE(tree.children[0].active) << "the world must start frozen and hidden";
    EXPECT_TRUE(tree.children[1].active);
    for (const char* name : {"testShader", "laby1", "player", "physCtrl1", "particleController", "goalTrigger"}) {
        EXPECT_EQ(countNamed(tree, name), std::string(name) == "testShader" && !withShader ? 0 : 1) << name;
    }
    EXPECT_EQ(testShader != nullptr, withShader);
    if (withShader) {
        GLint linked = GL_FALSE;
        ASSERT_NE(testShader->getProgram(), 0u);
        glGetProgramiv(testShader->getProgram(), GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
    }
}

TEST_F(SceneAssemblyGL, InitLeavesTheMenuUpWithTheFirstLevelReady) {
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->getParent(), physCtrl);
    EXPECT_EQ(labyrinth->getGridSize(), curLevelSize);
    ASSERT_FALSE(labyrinth->getWallContainers().empty());
    for (const WallContainer* container : labyrinth->getWallContainers()) {
        EXPECT_EQ(container->trigger->callback, &wallTriggerFunc) << "a wall top that does not drain health";
    }
    EXPECT_EQ(particleController->maxParticles, curEnemyCount);

    // Every picture of the menu and HUD and the first map are loaded.
    const char* textures[] = {"sphereTexture",  "backgroundTexture", "startButtonTexture", "number9Texture",
                              "wallTexture1",   "goalHoverTexture",  "offTexture",         "labyrinthMapTexture"};
    for (const char* name : textures) {
        EXPECT_NE(textureManager.getTextureId(name), 0u) << name;
    }
    EXPECT_EQ(l1->getTarget(), &player->position);
    EXPECT_EQ(l3->getTarget(), &particleController->swarmCenter);

    // The world was built with music at 40 % and effects at 70 %: the
    // sounds play at those volumes from the start, the music looping.
    ASSERT_TRUE(audioManager != nullptr && audioManager->isAvailable()) << "OpenAL Soft's null device is missing";
    const struct {
        const char* name;
        float gain;
        bool loop;
    } sounds[] = {
        {"playerDrainHealthSound", 0.7f, false}, {"mainMenuSound", 0.4f, true}, {"backgroundSound", 0.4f, true}};
    for (const auto& sound : sounds) {
        const AudioEntity* entity = audioManager->getSound(sound.name);
        ASSERT_NE(entity, nullptr) << sound.name;
        ALfloat gain = -1;
        alGetSourcef(entity->source, AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, sound.gain) << sound.name;
        EXPECT_EQ(entity->loop, sound.loop) << sound.name;
    }
}
}  // namespace
