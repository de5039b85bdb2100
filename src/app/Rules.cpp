#include "app/Rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>

#include "app/Challenge.h"
#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "app/LevelSeeds.h"
#include "app/Music.h"
#include "app/ProcessEnd.h"
#include "gui/SgGUI.h"
#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "labyrinth/SgLabyrinth.h"
#include "labyrinth/Tile.h"
#include "physics/BoundingSphere.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "physics/SgTrigger.h"
#include "profile/PlayerFiles.h"
#include "resources/AudioManager.h"
#include "sg/SgBlendState.h"
#include "sg/SgCamera.h"
#include "sg/SgLightSource.h"
#include "sg/SgMaterial.h"
#include "sg/SgShader.h"
#include "sg/SgTexture.h"

namespace {
void showHudElement(const char* name, bool visible) {
    if (SgEntity* element = mainGUI->findChild(name)) {
        element->setActive(visible);
    }
}

void showNumber(const char* name, unsigned value) {
    if (auto* number = static_cast<SgGUINumber*>(mainGUI->findChild(name))) {
        number->setNumberToRender(value);
    }
}

// The music follows the screen: the menu's tune over the menus and the won
// and lost pictures, the background tune while a level is played.
void playMenuMusic() {
    startMenuSounds();
    stopIngameSounds();
}

void playLevelMusic() {
    stopMenuSounds();
    startIngameSounds();
}

// Play of a level begins: its code goes out, so a maze worth playing again
// can be named to the game or to a friend.
void announceLevel() {
    printf("maze code: %s\n", levelMazeCode().text().c_str());
    fflush(stdout);
}

// A level ends: the world freezes under the picture that says how, and the
// outcome flag (playerWon or playerLost) is raised until the key that
// dismisses the picture.
void endLevel(bool& outcome, const char* picture) {
    playMenuMusic();
    gamePaused = true;
    outcome = true;
    showHudElement(picture, true);
}

void dismissEndOfLevel(bool& outcome, const char* picture) {
    gamePaused = false;
    outcome = false;
    showHudElement(picture, false);
}

// Health restored and level 1 shown before the menu returns, so the next game
// starts fresh.
void resetForNewGame() {
    endChallenge();
    mainGUI->setGameRunning(false);
    camera->setActive(false);
    player->health = static_cast<float>(curPlayerHealth);
    level = 1;
    showNumber("levelNumber", static_cast<unsigned>(level));
    initNewGame();
}
}  // namespace

void (*settingsSaved)() = nullptr;

MazeCode levelMazeCode() {
    MazeCode code;
    code.mazeSize = curLevelSize;
    code.enemies = curEnemyCount;
    code.health = curPlayerHealth;
    code.seed = LevelSeeds::current();
    return code;
}

SgTrigger* makeGoalTrigger(Tile* goal) {
    const Vector3 corner = goal->position;
    return new SgTrigger("goalTrigger", Vector3(0, 0, 0), corner,
                         corner + Vector3(goal->size, goal->size, goal->size), goalTriggerTest, SG_PLAYER);
}

void initNewGame() {
    const float health = player->health;
    renderer.useProgram(0);

    sceneGraphNode.deleteChild("player");
    delete player;
    sceneGraphNode.deleteChild("particleController");
    delete particleController;
    sceneGraphNode.deleteChild("laby1");
    delete labyrinth;

    LevelSeeds::seedNextLevel();
    labyrinth = new SgLabyrinth("laby1", Vector3(0, 0, 0), curLevelSize, 2, 100.0f, 1, &textureManager,
                                shaderSupported, wallTriggerFunc);
    levelSeconds = 0.0;
    Tile* start = labyrinth->getStart();
    player = new SgPlayer("player",
                          start->position + Vector3(start->size * 0.5f, 5.0f, start->size * 0.5f), 10.0f,
                          0.5f, 5.0f, Vector3(1, 0, 0), health);
    particleController = new SgParticleController("particleController", player, curEnemyCount, 5,
                                                  Vector3(0, 0.5f, 0.03f), 5.0f, 100.0f, 0.5f, 100.0f);

    camera->setTarget(player);
    l1->setTarget(&player->position);
    l3->setTarget(&particleController->swarmCenter);

    sceneGraphNode.deleteChild("goalTrigger");
    delete goalTrigger;
    goalTrigger = makeGoalTrigger(labyrinth->getGoal());
    camera->addChild(goalTrigger);

    sphereTexture->addChild(particleController);
    player->addChild(sphereMaterial);
    physCtrl->addChild(player);
    labyrinth->addChild(physCtrl);
    labyrinth->addChild(particleBlending);
    if (shaderSupported && testShader != nullptr) {
        testShader->addChild(labyrinth);
    } else {
        camera->addChild(labyrinth);
    }

    textureManager.deleteTexture("labyrinthMapTexture");
    labyrinth->renderLabyrinthMapToTexture(&renderer, &textureManager);
    // The new map is a new OpenGL texture, and a driver need not hand the
    // deleted name out again (Mesa does not): the HUD must show the new one.
    if (mainGUI != nullptr) {
        if (auto* map = dynamic_cast<SgGUIElement*>(mainGUI->findChild("labyrinthMap"))) {
            map->setTextureId(textureManager.getTextureId("labyrinthMapTexture"));
        }
    }
    renderer.useProgram(0);
    forgetTickPositions();
}

void gameStep(double seconds) {
    if (camera->isActive()) {
        levelSeconds += seconds;
        sceneGraphNode.collide();
        BoundingSphere view(player->boundingSphere->center, player->boundingSphere->radius + 2.0);
        sceneGraphNode.collideWithCameraRay(camera->position, player->position, &view);
        playerHealthMonitor();
    }
    if (audioManager != nullptr) {
        audioManager->setListenerPos(camera->position);
        audioManager->setListenerOrientation(player->position, Vector3(0, 1, 0));
    }
}

void goalTriggerTest() {
    endLevel(playerWon, "wonImage");
    // Shown in tenths of a second; the record keeps the exact time.
    const Records::Key key{curLevelSize, curEnemyCount, curPlayerHealth};
    bool newBest = recordWin(key, levelSeconds);
    const Records::Entry* entry = records.find(key);
    double best = entry != nullptr ? entry->times.front() : levelSeconds;
    if (challengeInPlay()) {
        best = challengeWon(levelSeconds);
        newBest = best >= levelSeconds;
    }
    mainGUI->showWonTimes(static_cast<unsigned>(levelSeconds * 10.0 + 0.5), static_cast<unsigned>(best * 10.0 + 0.5),
                          newBest);
    ++level;
    showNumber("levelNumber", static_cast<unsigned>(level));
}

void wallTriggerFunc() {
    if (player->health >= 1.0f) {
        // currentFPS counts the previous second's frames; a stalled second
        // must not turn the drain into a division by zero.
        const unsigned fps = currentFPS > 0 ? currentFPS : 1;
        player->health -= 100.0f / static_cast<float>(fps);
    } else {
        player->health = 0.0f;
    }
}

void playerHealthMonitor() {
    static float shealth = player->health;
    if (player->health != shealth) {
        shealth = player->health;
        if (audioManager != nullptr) {
            if (AudioEntity* drain = audioManager->getSound("playerDrainHealthSound")) {
                drain->setPosition(player->position);
                drain->play();
            }
        }
    }
    // The wall drain and the enemies can overshoot below zero; the display
    // has no minus sign (and a negative float has no unsigned value).
    showNumber("healthNumber", player->health > 0.0f ? static_cast<unsigned>(player->health) : 0u);
    const float f = player->health / player->maxHealth;
    player->color = Vector3(1 - f, 0, f);
    l1->setDiffuse(Vector3(1 - f, 0, f));
    if (player->position.y < -20.0f) {
        player->health = 0.0f;
    }
    if (player->health <= 0.1f) {
        playerLostGame();
    }
}

void playerLostGame() {
    endLevel(playerLost, "lostImage");
    if (challengeInPlay()) {
        challengeLost();
    }
}

void mainMenuOnGameStart() {
    playLevelMusic();
    mainGUI->setGameRunning(true);
    camera->setActive(true);
    // Mouse motion in the menu adds to the ball's velocity while the frozen
    // world never limits it; released at once it flung the ball, which starts
    // above the start wall's top, out of the maze and lost the game.
    player->velocity.x = 0.0f;
    player->velocity.z = 0.0f;
    announceLevel();
    restartTickClock();
}

void mainMenuOnExit() { endProcess(0); }

void mainMenuOptionsChanged(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool useShaders) {
    // Only what the player changed here is saved: values that came from the
    // command line stay out of the file unless the player chose them.
    // A --maze size below the screen's range shows as its smallest size.
    const bool sizeChanged =
        static_cast<int>(levelSize) != std::clamp(curLevelSize, Settings::minMazeSize, Settings::maxMazeSize);
    const bool enemiesChanged = static_cast<int>(enemyCount) != curEnemyCount;
    const bool healthChanged = playerHealth != curPlayerHealth;
    const bool lightingChanged = useShaders != shaderSupported;
    if (sizeChanged || enemiesChanged || healthChanged || lightingChanged) {
        changeSettings([&](Settings& saved) {
            if (sizeChanged) {
                saved.mazeSize = static_cast<int>(levelSize);
            }
            if (enemiesChanged) {
                saved.enemyCount = static_cast<int>(enemyCount);
            }
            if (healthChanged) {
                saved.startingHealth = playerHealth;
            }
            if (lightingChanged) {
                saved.lighting = useShaders ? Settings::Lighting::On : Settings::Lighting::Off;
            }
        });
        if (settingsSaved != nullptr) {
            settingsSaved();
        }
    }
    curLevelSize = static_cast<int>(levelSize);
    curEnemyCount = static_cast<int>(enemyCount);
    curPlayerHealth = playerHealth;
    player->health = static_cast<float>(playerHealth);
    shaderSupported = useShaders;
    initNewGame();
}

void setPaused(bool paused) {
    gamePaused = paused;
    showHudElement("pauseImage", paused);
}

bool worldStill() { return mainGUI != nullptr && (!mainGUI->isGameRunning() || gamePaused); }

void pauseForFocusLoss() {
    // Only a game in play pauses; it stays paused until the player presses
    // Space.
    if (mainGUI != nullptr && mainGUI->isGameRunning() && !gamePaused && !playerWon && !playerLost) {
        setPaused(true);
    }
}

void leaveGameToMenu() {
    playMenuMusic();
    resetForNewGame();
}

void continueAfterWin() {
    dismissEndOfLevel(playerWon, "wonImage");
    showHudElement("wonTimes", false);
    // A challenge is one level: its end leads back to the menu.
    if (challengeInPlay()) {
        resetForNewGame();
        return;
    }
    playLevelMusic();
    initNewGame();
    announceLevel();
    restartTickClock();
}

void leaveLostGame() {
    dismissEndOfLevel(playerLost, "lostImage");
    resetForNewGame();
}
