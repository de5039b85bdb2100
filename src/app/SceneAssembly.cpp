#include "app/SceneAssembly.h"

#include <memory>
#include <string>

#include <GL/glew.h>

#include "app/FrameHooks.h"
#include "app/Globals.h"
#include "app/LevelSeeds.h"
#include "app/Music.h"
#include "app/Rules.h"
#include "gui/SgGUI.h"
#include "labyrinth/SgLabyrinth.h"
#include "labyrinth/Tile.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "physics/SgTrigger.h"
#include "platform/Cursor.h"
#include "resources/AudioManager.h"
#include "app/LightingShaderSources.h"
#include "sg/SgBlendState.h"
#include "sg/SgCamera.h"
#include "sg/SgLightSource.h"
#include "sg/SgMaterial.h"
#include "sg/SgShader.h"
#include "sg/SgSphereMesh.h"
#include "sg/SgTexture.h"

namespace {
struct TextureFile {
    const char* name;
    const char* file;
    int maxLevel;
    bool alpha;
    float keyR, keyG, keyB;
};

// Menu and HUD pictures use pure blue as their transparent colour, the enemy
// sprite pure black; only the wall texture samples a mipmap chain.
const TextureFile textureFiles[] = {
    {"sphereTexture", "data/particle.bmp", 0, true, 0, 0, 0},
    {"backgroundTexture", "data/kelvo_menu.bmp", 0, false, 0, 0, 0},
    {"instructionsTexture", "data/kelvo_instructions.bmp", 0, false, 0, 0, 0},
    {"optionsTexture", "data/kelvo_options.bmp", 0, false, 0, 0, 0},
    {"instructionsButtonTexture", "data/instructionsButton.bmp", 0, true, 0, 0, 1},
    {"exitButtonTexture", "data/exitButton.bmp", 0, true, 0, 0, 1},
    {"startButtonTexture", "data/startButton.bmp", 0, true, 0, 0, 1},
    {"optionsButtonTexture", "data/optionsButton.bmp", 0, true, 0, 0, 1},
    {"pauseImageTexture", "data/pause_ingame.bmp", 0, true, 0, 0, 1},
    {"lostImageTexture", "data/gameOver_ingame.bmp", 0, true, 0, 0, 1},
    {"wonImageTexture", "data/win_ingame.bmp", 0, true, 0, 0, 1},
    {"settingsImageTexture", "data/settings.bmp", 0, true, 0, 0, 1},
    {"levelsizeButtonTexture", "data/levelsizeButton.bmp", 0, true, 0, 0, 1},
    {"enemyColorButtonTexture", "data/enemyColorButton.bmp", 0, true, 0, 0, 1},
    {"enemyCountButtonTexture", "data/enemyCountButton.bmp", 0, true, 0, 0, 1},
    {"playerColorButtonTexture", "data/playerColorButton.bmp", 0, true, 0, 0, 1},
    {"playerHealthButtonTexture", "data/playerHealthButton.bmp", 0, true, 0, 0, 1},
    {"arrowLeftTexture", "data/arrowLeft.bmp", 0, true, 0, 0, 1},
    {"arrowRightTexture", "data/arrowRight.bmp", 0, true, 0, 0, 1},
    {"number0Texture", "data/zero.bmp", 0, true, 0, 0, 1},
    {"number1Texture", "data/one.bmp", 0, true, 0, 0, 1},
    {"number2Texture", "data/two.bmp", 0, true, 0, 0, 1},
    {"number3Texture", "data/three.bmp", 0, true, 0, 0, 1},
    {"number4Texture", "data/four.bmp", 0, true, 0, 0, 1},
    {"number5Texture", "data/five.bmp", 0, true, 0, 0, 1},
    {"number6Texture", "data/six.bmp", 0, true, 0, 0, 1},
    {"number7Texture", "data/seven.bmp", 0, true, 0, 0, 1},
    {"number8Texture", "data/eight.bmp", 0, true, 0, 0, 1},
    {"number9Texture", "data/nine.bmp", 0, true, 0, 0, 1},
    {"shaderButtonTexture", "data/shaderButton.bmp", 0, true, 0, 0, 1},
    {"onTexture", "data/on.bmp", 0, true, 0, 0, 1},
    {"offTexture", "data/off.bmp", 0, true, 0, 0, 1},
    {"healthImageTexture", "data/health_ingame.bmp", 0, true, 0, 0, 1},
    {"levelImageTexture", "data/level_ingame.bmp", 0, true, 0, 0, 1},
    {"goalHoverTexture", "data/arrowGoalWhite_ingame.bmp", 0, true, 0, 0, 1},
    {"wallTexture1", "data/wallTex1.bmp", 5, false, 0, 0, 0},
    {"timeLabelTexture", "data/time_ingame.bmp", 0, true, 0, 0, 1},
    {"bestLabelTexture", "data/best_ingame.bmp", 0, true, 0, 0, 1},
    {"newBestTexture", "data/newBest_ingame.bmp", 0, true, 0, 0, 1},
    {"pointTexture", "data/point.bmp", 0, true, 0, 0, 1},
};
}  // namespace

void initTextures() {
    for (const TextureFile& t : textureFiles) {
        textureManager.loadAndAddTexture(t.name, t.file, true, t.maxLevel, t.alpha, t.keyR, t.keyG, t.keyB);
    }
}

void init() {
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    Cursor::hide();

    initTextures();

    // The program is built whenever it can be switched on, so the options
    // screen can switch it on in a run that started without it.
    if (shaderSupported || shaderCapable) {
        testShader = newLightingShader("testShader", false);
        std::unique_ptr<SgShader> matte(newLightingShader("testShaderMatte", true));
        testShader->setMatteVariant(std::move(matte));
    }
    sphereTexture = new SgTexture("sphereTexture", textureManager.getTextureId("sphereTexture"), GL_MODULATE);
    LevelSeeds::seedNextLevel();
    labyrinth = new SgLabyrinth("laby1", Vector3(0, 0, 0), curLevelSize, 2, 100.0f, 1, &textureManager,
                                shaderSupported, wallTriggerFunc);
    Tile* start = labyrinth->getStart();
    player = new SgPlayer("player",
                          start->position + Vector3(start->size * 0.5f, 3.0f, start->size * 0.5f), 10.0f,
                          0.5f, 5.0f, Vector3(1, 0, 0), static_cast<float>(curPlayerHealth));
    physCtrl = new SgPhysController("physCtrl1");
    sphere = new SgSphereMesh("sphere", Vector3(0, 0, 0), 0.5f, 10, 10);
    sphereMaterial = new SgMaterial("sphereMaterial", 0, 0.3f, 0.5f, 1, 0, 0.3f, 1, 1, 1, 1, 1, 1, 10, 0, 0.3f, 1, 1,
                                    GL_FRONT);
    particleController = new SgParticleController("particleController", player, curEnemyCount, 5,
                                                  Vector3(0, 0.5f, 0.03f), 5.0f, 100.0f, 0.5f, 100.0f);
    particleBlending = new SgBlendState("particleBlending", false);
    particleBlending->setBlendFunc(GL_SRC_ALPHA, GL_ONE);
    camera = new SgCamera("camera", Vector3(0, 30, 20), player, false, true, false, 30,
                          static_cast<float>(width) / static_cast<float>(height), 1, 1000, 60, 1);
    camera->setPerspective();
    l1 = new SgLightSource("l1", Vector3(0, 5, 0), GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.005f, Vector3(0, 0, 0),
                           Vector3(0, 0.3f, 1), Vector3(1, 1, 1), &player->position);
    l2 = new SgLightSource("l2", Vector3(0, 30, 0), GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.003f, Vector3(0, 0, 0),
                           Vector3(1, 1, 1), Vector3(1, 1, 1), nullptr);
    l3 = new SgLightSource("l3", Vector3(0, 0, 0), GL_LIGHT4, GL_QUADRATIC_ATTENUATION, 0.003f,
                           Vector3(1, 0.6f, 0), Vector3(1, 0.6f, 0), Vector3(1, 1, 0),
                           &particleController->swarmCenter);
    goalTrigger = makeGoalTrigger(labyrinth->getGoal());

    sphereMaterial->compile();

    camera->addChild(l1);
    camera->addChild(l2);
    camera->addChild(l3);
    particleBlending->addChild(sphereTexture);
    sphereTexture->addChild(particleController);
    sphereMaterial->addChild(sphere);
    player->addChild(sphereMaterial);
    physCtrl->addChild(player);
    labyrinth->addChild(physCtrl);
    camera->addChild(goalTrigger);
    labyrinth->addChild(particleBlending);
    if (testShader != nullptr) {
        camera->addChild(testShader);
    }
    if (shaderSupported) {
        testShader->addChild(labyrinth);
    } else {
        camera->addChild(labyrinth);
    }

    labyrinth->renderLabyrinthMapToTexture(&renderer, &textureManager);

    mainGUI = new SgGUI("mainGUI", &textureManager, mainMenuOptionsChanged, testShader != nullptr);
    mainGUI->setOptions(static_cast<unsigned>(curLevelSize), static_cast<unsigned>(curEnemyCount), curPlayerHealth,
                        shaderSupported);
    mainGUI->setOnGameStart(mainMenuOnGameStart);
    mainGUI->setOnExit(mainMenuOnExit);

    sceneGraphNode.addChild(camera);
    sceneGraphNode.addChild(mainGUI);
    camera->setActive(false);

    audioManager = new AudioManager();
    audioManager->init();
    loadGameSounds(*audioManager);
    applyVolumes();
    startMenuSounds();

    frameHooks.tickStep = gameStep;
}
