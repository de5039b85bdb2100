// The rules of play on the assembled game: health drain, loss, the fall
// limit, the HUD numbers, carrying health into the next level, the options
// rebuild, the music of each state, the frame-rate line and the exit entry.
#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>
#include <sstream>
#include <vector>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "app/Challenge.h"
#include "app/FrameHooks.h"
#include "app/FrameLoop.h"
#include "app/GameWorld.h"
#include "app/Input.h"
#include "app/LevelSeeds.h"
#include "app/Music.h"
#include "app/TickBlend.h"
#include "gui/SgGUIElement.h"
#include "harness/Autopilot.h"
#include "harness/ParTime.h"
#include "labyrinth/Tile.h"
#include "labyrinth/WallContainer.h"
#include "physics/BoundingSphere.h"
#include "physics/SgParticleController.h"
#include "physics/SgTrigger.h"
#include "platform/KeyCodes.h"
#include "platform/PerformanceCounter.h"
#include "replay/StateHash.h"
#include "resources/AudioManager.h"
#include "resources/TextureManager.h"
#include "sg/SgLightSource.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using gameworld::State;
using gameworld::currentState;
using gameworld::enterState;
using gameworld::shownNumber;
using gameworld::stateName;

namespace {
class GameRulesGL : public testing::Test {
protected:
    void SetUp() override {
        gameworld::ensureWorld();
        enterState(State::Menu);
        currentFPS = 30;
        level = 1;
    }
    void TearDown() override { currentFPS = 30; }
};

TEST_F(GameRulesGL, WallContactDrainsAHundredPerSecondAndZeroesBelowOne) {
    struct Case {
        unsigned fps;
        float before;
        float after;
    };
    const Case cases[] = {
        {60, 1000.0f, 1000.0f - 100.0f / 60.0f},
        {30, 1000.0f, 1000.0f - 100.0f / 30.0f},
        {60, 1.0f, 1.0f - 100.0f / 60.0f},  // still at least 1: the drain applies
        {60, 0.5f, 0.0f},
        {60, 0.999f, 0.0f},
        {0, 1000.0f, 900.0f},  // a stalled second counts as one frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "fps " << c.fps << ", health " << c.before);
        currentFPS = c.fps;
        player->health = c.before;
        wallTriggerFunc();
        EXPECT_FLOAT_EQ(player->health, c.after);
    }
}

TEST_F(GameRulesGL, WallContactAtHalfHealthZeroesItAndTheSameFramesMonitorEndsTheGame) {
    enterState(State::Playing);
    currentFPS = 60;
    player->health = 0.5f;
    wallTriggerFunc();
    EXPECT_EQ(player->health, 0.0f);
    playerHealthMonitor();
    EXPECT_EQ(currentState(), State::Lost) << stateName(currentState());
    EXPECT_EQ(shownNumber("healthNumber"), 0u);
}

// The whole frame: a ball resting on a wall top fires that wall's trigger
// from inside the collision traversal, before the health monitor runs.
TEST_F(GameRulesGL, ABallRestingOnAWallTopLosesHealthEveryFrame) {
    enterState(State::Playing);
    currentFPS = 60;
    const std::vector<WallContainer*>& walls = labyrinth->getWallContainers();
    ASSERT_FALSE(walls.empty());
    // An interior run away from the start, so the ball touches nothing else.
    const BoundingBox* box = walls[walls.size() / 2]->box;
    float top = box->corners[0].y;
    for (const Vector3& c : box->corners) {
        top = std::max(top, c.y);
    }
    player->position = Vector3(box->center.x, top + player->sphereRadius, box->center.z);
    player->velocity = Vector3(0, 0, 0);
    // The swarm would drain health too; it stays out of these frames.
    particleController->setActive(false);
    // One frame to settle: the collision sphere follows the ball's first move.
    sceneGraphNode.update(1.0 / 60.0);
    gameStep(1.0 / 60.0);
    player->health = 1000.0f;
    for (int frame = 0; frame < 3; ++frame) {
        sceneGraphNode.update(1.0 / 60.0);
        gameStep(1.0 / 60.0);
    }
    EXPECT_NEAR(player->health, 1000.0f - 3 * 100.0f / 60.0f, 1e-3);

    player->health = 0.5f;
    sceneGraphNode.update(1.0 / 60.0);
    gameStep(1.0 / 60.0);
    particleController->setActive(true);
    EXPECT_EQ(player->health, 0.0f);
    EXPECT_EQ(currentState(), State::Lost) << stateName(currentState());
}

TEST_F(GameRulesGL, TheGameIsLostAtOneTenthOfAPointOfHealthOrBelow) {
    struct Case {
        float health;
        State after;
    };
    const Case cases[] = {
        {0.1f, State::Lost}, {0.11f, State::Playing}, {0.0f, State::Lost}, {-3.0f, State::Lost}, {1.0f, State::Playing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "health " << c.health);
        enterState(State::Playing);
        player->health = c.health;
        playerHealthMonitor();
        EXPECT_STREQ(stateName(currentState()), stateName(c.after));
    }
}

TEST_F(GameRulesGL, ABallBelowTheFallLimitLosesAllHealthAndTheGame) {
    struct Case {
        float y;
        bool lost;
    };
    const Case cases[] = {{-20.0f, false}, {-20.01f, true}, {-300.0f, true}, {-19.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.y);
        enterState(State::Playing);
        player->health = 1234.0f;
        player->position.y = c.y;
        playerHealthMonitor();
        EXPECT_EQ(player->health, c.lost ? 0.0f : 1234.0f);
        EXPECT_STREQ(stateName(currentState()), stateName(c.lost ? State::Lost : State::Playing));
    }
}

TEST_F(GameRulesGL, TheHudShowsHealthTruncatedAndTheBallFadesFromBlueToRed) {
    struct Case {
        float health;
        unsigned shown;
    };
    // A drain or an enemy can overshoot below zero; the display stays at 0.
    const Case cases[] = {{1999.9f, 1999u}, {2000.0f, 2000u}, {0.5f, 0u}, {-2.5f, 0u}, {-0.5f, 0u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "health " << c.health);
        enterState(State::Playing);
        player->health = c.health;
        playerHealthMonitor();
        EXPECT_EQ(shownNumber("healthNumber"), c.shown);
    }

    enterState(State::Playing);
    player->health = player->maxHealth;
    playerHealthMonitor();
    EXPECT_FLOAT_EQ(player->color.x, 0.0f);
    EXPECT_FLOAT_EQ(player->color.z, 1.0f);
    EXPECT_FLOAT_EQ(l1->getDiffuse().z, 1.0f);
    player->health = player->maxHealth / 4;
    playerHealthMonitor();
    EXPECT_FLOAT_EQ(player->color.x, 0.75f);
    EXPECT_FLOAT_EQ(player->color.y, 0.0f);
    EXPECT_FLOAT_EQ(player->color.z, 0.25f);
    EXPECT_FLOAT_EQ(l1->getDiffuse().x, 0.75f);
    EXPECT_FLOAT_EQ(l1->getDiffuse().z, 0.25f);
}

TEST_F(GameRulesGL, ReachingTheGoalCarriesHealthIntoTheNextLevelWithAFullyBlueBall) {
    enterState(State::Playing);
    player->health = 1500.0f;
    goalTriggerTest();
    EXPECT_EQ(currentState(), State::Won) << stateName(currentState());
    EXPECT_EQ(level, 2);
    EXPECT_EQ(shownNumber("levelNumber"), 2u);

    keyboardFunc(keyEnter, 0, 0);
    EXPECT_EQ(currentState(), State::Playing) << stateName(currentState());
    EXPECT_EQ(level, 2);
    EXPECT_FLOAT_EQ(player->health, 1500.0f);
    EXPECT_FLOAT_EQ(player->maxHealth, 1500.0f);
    playerHealthMonitor();
    EXPECT_FLOAT_EQ(player->color.x, 0.0f);
    EXPECT_FLOAT_EQ(player->color.z, 1.0f);

    // The new ball starts 5 units above the middle of the new start tile,
    // and everything that follows it follows the new one.
    Tile* start = labyrinth->getStart();
    EXPECT_FLOAT_EQ(player->position.x, start->position.x + start->size * 0.5f);
    EXPECT_FLOAT_EQ(player->position.y, start->position.y + 5.0f);
    EXPECT_FLOAT_EQ(player->position.z, start->position.z + start->size * 0.5f);
    EXPECT_EQ(camera->getTarget(), player);
    EXPECT_EQ(l1->getTarget(), &player->position);
    EXPECT_EQ(l3->getTarget(), &particleController->swarmCenter);
    EXPECT_EQ(particleController->target, player);

    // The goal trigger now covers the new goal tile.
    Tile* goal = labyrinth->getGoal();
    auto* trigger = dynamic_cast<SgTrigger*>(sceneGraphNode.findChild("goalTrigger"));
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger, goalTrigger);
    EXPECT_EQ(trigger->triggerType, SG_PLAYER);
    BoundingSphere inside(goal->position + Vector3(goal->size / 2, goal->size / 2, goal->size / 2), 0.1f);
    EXPECT_TRUE(trigger->box.collideWith(&inside));

    // The HUD map shows the map of the new maze.
    auto* map = static_cast<SgGUIElement*>(mainGUI->findChild("labyrinthMap"));
    EXPECT_NE(textureManager.getTextureId("labyrinthMapTexture"), 0u);
    EXPECT_EQ(map->getTextureId(), textureManager.getTextureId("labyrinthMapTexture"));
}

TEST_F(GameRulesGL, ChangingTheOptionsRebuildsTheLevelAtOnceWithoutChangingTheLevelNumber) {
    const int sizeBefore = curLevelSize;
    const int enemiesBefore = curEnemyCount;
    const unsigned healthBefore = curPlayerHealth;
    const bool shadersBefore = shaderSupported;
    level = 4;

    mainMenuOptionsChanged(24, 7, 300, shadersBefore);
    EXPECT_EQ(level, 4);
    EXPECT_EQ(currentState(), State::Menu) << stateName(currentState());
    EXPECT_EQ(curLevelSize, 24);
    EXPECT_EQ(curEnemyCount, 7);
    EXPECT_EQ(curPlayerHealth, 300u);
    EXPECT_EQ(labyrinth->getGridSize(), 24);
    EXPECT_EQ(particleController->maxParticles, 7);
    EXPECT_FLOAT_EQ(player->health, 300.0f);
    EXPECT_FLOAT_EQ(player->maxHealth, 300.0f);
    EXPECT_EQ(sceneGraphNode.findChild("laby1"), labyrinth);

    mainMenuOptionsChanged(static_cast<unsigned>(sizeBefore), static_cast<unsigned>(enemiesBefore), healthBefore,
                           shadersBefore);
    EXPECT_EQ(labyrinth->getGridSize(), sizeBefore);
    EXPECT_FLOAT_EQ(player->maxHealth, static_cast<float>(healthBefore));
}

TEST_F(GameRulesGL, LeavingAGameStartsTheNextOneAtLevelOneWithFullHealth) {
    struct Case {
        const char* how;
        State from;
        unsigned char key;
    };
    const Case cases[] = {{"Esc while playing", State::Playing, keyEsc}, {"Enter after a loss", State::Lost, keyEnter}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        enterState(State::Playing);
        player->health = 700.0f;
        goalTriggerTest();
        goalTriggerTest();
        ASSERT_EQ(shownNumber("levelNumber"), 3u);
        enterState(c.from);
        player->health = c.from == State::Lost ? 0.0f : 700.0f;
        keyboardFunc(c.key, 0, 0);
        EXPECT_EQ(currentState(), State::Menu) << stateName(currentState());
        EXPECT_EQ(level, 1);
        EXPECT_EQ(shownNumber("levelNumber"), 1u);
        EXPECT_FLOAT_EQ(player->health, static_cast<float>(curPlayerHealth));
        EXPECT_FLOAT_EQ(player->maxHealth, static_cast<float>(curPlayerHealth));
    }
}

// The ball starts at rest however much the mouse moved in the menu (that
// motion used to fling it over the start wall and out of the maze), but a
// jump or fall under way is left alone.
TEST_F(GameRulesGL, StartingAGameFromTheMenuRunsTheWorldFromThatMoment) {
    lastFrameCounter = 0;
    player->velocity = Vector3(-40.0f, -1.5f, 25.0f);
    const int64_t before = PerformanceCounter::now();
    mainMenuOnGameStart();
    EXPECT_EQ(currentState(), State::Playing) << stateName(currentState());
    EXPECT_GE(lastFrameCounter, before);
    EXPECT_EQ(player->velocity.x, 0.0f);
    EXPECT_EQ(player->velocity.z, 0.0f);
    EXPECT_EQ(player->velocity.y, -1.5f);
}

// In the menu the world neither collides nor loses health, but the listener
// still follows the camera.
TEST_F(GameRulesGL, TheMenuFreezesTheRulesButPlacesTheListener) {
    ASSERT_EQ(currentState(), State::Menu);
    player->health = 0.0f;
    player->position.y = -100.0f;
    gameStep(1.0 / 60.0);
    EXPECT_EQ(currentState(), State::Menu) << stateName(currentState());
    EXPECT_EQ(player->health, 0.0f);
    ASSERT_NE(audioManager, nullptr);
    EXPECT_FLOAT_EQ(audioManager->listenerPosition.x, camera->position.x);
    EXPECT_FLOAT_EQ(audioManager->listenerPosition.y, camera->position.y);
    EXPECT_FLOAT_EQ(audioManager->listenerPosition.z, camera->position.z);
}

bool playing(const char* sound) {
    AudioEntity* entity = audioManager->getSound(sound);
    if (entity == nullptr) {
        ADD_FAILURE() << sound << " was not loaded";
        return false;
    }
    ALint state = 0;
    alGetSourcei(entity->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

TEST_F(GameRulesGL, EachStatePlaysItsMusic) {
    ASSERT_TRUE(audioManager != nullptr && audioManager->isAvailable()) << "OpenAL Soft's null device is missing";
    struct Step {
        const char* what;
        void (*action)();
        bool menuMusic;
        bool backgroundMusic;
    };
    const Step steps[] = {
        {"start from the menu", mainMenuOnGameStart, false, true},
        {"reach the goal", goalTriggerTest, true, false},
        {"continue after the win", [] { keyboardFunc(keyEnter, 0, 0); }, false, true},
        {"lose", playerLostGame, true, false},
        {"back to the menu", [] { keyboardFunc(keyEnter, 0, 0); }, true, false},
        {"start again", mainMenuOnGameStart, false, true},
        {"leave with Esc", [] { keyboardFunc(keyEsc, 0, 0); }, true, false},
    };
    stopMenuSounds();
    startMenuSounds();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.action();
        EXPECT_EQ(playing("mainMenuSound"), s.menuMusic);
        EXPECT_EQ(playing("backgroundSound"), s.backgroundMusic);
    }

    // A change of health sounds the drain from where the ball is; leaving
    // play silences it while it still runs.
    AudioEntity* drain = audioManager->getSound("playerDrainHealthSound");
    ASSERT_NE(drain, nullptr);
    drain->setPosition(Vector3(-99, -99, -99));
    enterState(State::Playing);
    playerHealthMonitor();
    player->health -= 3.0f;
    playerHealthMonitor();
    EXPECT_TRUE(playing("playerDrainHealthSound"));
    EXPECT_EQ(drain->position, player->position);
    ALfloat placed[3] = {0, 0, 0};
    alGetSourcefv(drain->source, AL_POSITION, placed);
    EXPECT_EQ(Vector3(placed[0], placed[1], placed[2]), player->position);
    stopIngameSounds();
    EXPECT_FALSE(playing("playerDrainHealthSound"));
}

// The level's time counts the seconds played, not the seconds paused.
TEST_F(GameRulesGL, TheLevelsTimeCountsOnlyTheSecondsPlayed) {
    enterState(State::Playing);
    particleController->setActive(false);
    auto run = [](double seconds) {
        for (int frame = 0; frame < 20; ++frame) {
            realDisplay(seconds / 20);
        }
    };
    levelSeconds = 0.0;
    run(1.0);
    keyboardFunc(keySpace, 0, 0);
    ASSERT_EQ(currentState(), State::Paused) << stateName(currentState());
    run(2.0);
    keyboardFunc(keySpace, 0, 0);
    run(0.5);
    particleController->setActive(true);
    EXPECT_EQ(currentState(), State::Playing) << stateName(currentState());
    EXPECT_NEAR(levelSeconds, 1.5, 0.05);
}

// However long a frame takes (a stall, a dragged window), the ball at its top
// speed never comes out beyond a wall: from free tiles one and two tiles
// before a wall one tile thick, heading straight at it.
TEST_F(GameRulesGL, NoFrameCarriesTheBallThroughAWall) {
    const int n = labyrinth->getGridSize();
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    auto isFree = [&](int row, int column) {
        const Tile* tile = labyrinth->getTile(row, column);
        return tile != nullptr && tile->isFree;
    };
    particleController->setActive(false);
    int cases = 0;
    for (int row = 1; row < n - 1; ++row) {
        for (int column = 1; column < n - 1; ++column) {
            for (const auto& step : steps) {
                for (int before = 1; before <= 2; ++before) {
                    const int wallRow = row + step[0] * before, wallColumn = column + step[1] * before;
                    const bool clearRun = before == 1 || isFree(row + step[0], column + step[1]);
                    if (!isFree(row, column) || !clearRun || isFree(wallRow, wallColumn) ||
                        labyrinth->getTile(wallRow, wallColumn) == nullptr ||
                        !isFree(wallRow + step[0], wallColumn + step[1]) || (row * 7 + column) % 3 != 0) {
                        continue;
                    }
                    const Tile* from = labyrinth->getTile(row, column);
                    const Tile* wall = labyrinth->getTile(wallRow, wallColumn);
                    const Vector3 heading(static_cast<float>(step[1]), 0.0f, static_cast<float>(step[0]));
                    const Vector3 wallCentre = wall->position + Vector3(wall->size / 2, 0, wall->size / 2);
                    for (double frame : {0.1, 1.0}) {
                        SCOPED_TRACE(testing::Message() << "tile " << row << "," << column << " heading "
                                                        << heading.x << "," << heading.z << ", frame " << frame);
                        enterState(State::Playing);
                        player->position = from->position + Vector3(from->size / 2, 0.5f, from->size / 2);
                        player->boundingSphere->center = player->position;  // where a frame leaves it
                        player->velocity = heading * player->maxSpeed;
                        realDisplay(frame);
                        const Vector3 past = player->position - wallCentre;
                        EXPECT_LT(past.x * heading.x + past.z * heading.z, 0.0f) << "through the wall";
                        ++cases;
                    }
                }
            }
        }
    }
    particleController->setActive(true);
    EXPECT_GT(cases, 20);
}

// The frame-rate line comes once per second of frame time and counts the
// frames in it, however fast the machine draws them.
TEST_F(GameRulesGL, TheFrameRateLineCountsTheFramesOfEachSecond) {
    r = 0.0;
    frames = 0;
    testing::internal::CaptureStdout();
    realDisplay(0.5);
    realDisplay(0.25);
    const std::string beforeASecond = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    realDisplay(0.25);
    for (int i = 0; i < 8; ++i) {
        realDisplay(0.125);
    }
    const std::string lines = testing::internal::GetCapturedStdout();
    EXPECT_EQ(beforeASecond.find("fps:"), std::string::npos) << beforeASecond;
    EXPECT_EQ(lines, "fps: 3\nfps: 8\n");

    // The wall drain divides by the ticks of the last second of game time:
    // 60 however slowly the frames come (each of these catches up 6 ticks).
    testing::internal::CaptureStdout();
    for (int i = 0; i < 10; ++i) {
        realDisplay(0.5);
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(currentFPS, 60u);
}

// A short game, scripted tick by tick: the mouse sweeps right and down past
// the window's edges, the ball jumps, the game pauses and goes on.
namespace script {
constexpr long length = 240;
long start = 0;
StateHash hash;
uint64_t atEnd = 0;

void onTick() {
    const long t = ticksRun - start;
    if (t > length) {
        return;
    }
    hash.fold(*player, level, particleController);
    atEnd = hash.value();
    if (t < 150) {
        motionFunc((width / 2 + 9 * static_cast<int>(t)) % width, (height / 3 + 5 * static_cast<int>(t)) % height);
    }
    if (t == 60 || t == 200) {
        mouseButtonFunc(buttonLeft, statePressed, 0, 0);
    }
    if (t == 90 || t == 120) {
        keyboardFunc(keySpace, 0, 0);
    }
}
}  // namespace script

// One seed and one input play one game at every frame rate: the state hash
// folded over the same ticks agrees at 30, 60, 144 and 500 frames a second.
TEST_F(GameRulesGL, OneSeedAndOneInputPlayTheSameGameAtEveryFrameRate) {
    std::vector<uint64_t> hashes;
    for (const double frameSeconds : {1.0 / 30, 1.0 / 60, 1.0 / 144, 1.0 / 500}) {
        LevelSeeds::start(11);
        initNewGame();
        enterState(State::Menu);
        motionFunc(width / 2, height / 2);
        applyMouseMotion();
        currentFPS = 60;
        mainMenuOnGameStart();
        script::start = ticksRun;
        script::hash = StateHash();
        frameHooks.afterTick.push_back(script::onTick);
        testing::internal::CaptureStdout();
        while (ticksRun - script::start < script::length) {
            realDisplay(frameSeconds);
        }
        testing::internal::GetCapturedStdout();
        frameHooks.afterTick.clear();
        hashes.push_back(script::atEnd);
    }
    for (std::size_t i = 1; i < hashes.size(); ++i) {
        EXPECT_EQ(hashes[i], hashes[0]) << "frame rate " << i;
    }
}

// What a freshly built level is made of: its walls, the ball and every enemy.
std::string levelFingerprint() {
    StateHash hash;
    hash.fold(*player, 1, particleController);
    const Autopilot::Grid grid = Autopilot::gridOf(*labyrinth);
    const std::string walls(grid.free.begin(), grid.free.end());
    return std::to_string(std::hash<std::string>()(walls)) + " " + StateHash::text(hash.value());
}

// The code printed as each level starts names that level: built again from
// it, the maze, the ball and the swarm are the same.
TEST_F(GameRulesGL, EveryLevelPrintsTheCodeThatBuildsItAgain) {
    enterState(State::Menu);
    player->health = static_cast<float>(curPlayerHealth);
    LevelSeeds::start(23);
    initNewGame();
    std::vector<std::string> fingerprints;
    testing::internal::CaptureStdout();
    mainMenuOnGameStart();
    fingerprints.push_back(levelFingerprint());
    goalTriggerTest();
    continueAfterWin();
    fingerprints.push_back(levelFingerprint());
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> codes;
    for (std::string line; std::getline(out, line);) {
        if (line.rfind("maze code: ", 0) == 0) {
            codes.push_back(line.substr(11));
        }
    }
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_NE(codes[0], codes[1]);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        MazeCode code;
        std::string problem;
        ASSERT_EQ(MazeCode::read(codes[i], code, problem), MazeCode::Part::None) << codes[i] << ": " << problem;
        EXPECT_EQ(code.mazeSize, curLevelSize);
        EXPECT_EQ(code.enemies, curEnemyCount);
        player->health = static_cast<float>(code.health);
        LevelSeeds::playNext(code.seed);
        initNewGame();
        EXPECT_EQ(levelFingerprint(), fingerprints[i]) << codes[i];
    }
    enterState(State::Menu);
}

// The par is the autopilot's time on the code's maze, played out of sight:
// the same whatever was played before, and afterwards the level is as a
// fresh start of the code builds it, in the menu, with the game's tick
// count untouched.
TEST_F(GameRulesGL, ParIsTheSameEveryTimeAndLeavesTheLevelAsAFreshStartHasIt) {
    MazeCode code;
    code.mazeSize = 12;
    code.enemies = 30;
    code.health = 2000;
    code.seed = 1739055656;
    const int ownSize = curLevelSize;
    const int ownEnemies = curEnemyCount;
    curLevelSize = code.mazeSize;
    curEnemyCount = code.enemies;
    enterState(State::Menu);
    player->health = static_cast<float>(code.health);
    LevelSeeds::playNext(code.seed);
    initNewGame();
    const std::string fresh = levelFingerprint();
    std::vector<double> pars;
    for (int run = 0; run < 2; ++run) {
        const long ticksBefore = ticksRun;
        double par = 0.0;
        testing::internal::CaptureStdout();
        const bool won = ParTime::measure(code, par);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(won);
        pars.push_back(par);
        EXPECT_EQ(levelFingerprint(), fresh) << "run " << run;
        EXPECT_EQ(currentState(), State::Menu) << stateName(currentState());
        EXPECT_EQ(ticksRun, ticksBefore);
        // Something else played in between: the ball pushed for a second.
        enterState(State::Playing);
        motionFunc(width / 2 + 40, height / 2 - 25);
        for (int tick = 0; tick < 60; ++tick) {
            realDisplay(1.0 / 60);
        }
        enterState(State::Menu);
    }
    EXPECT_EQ(pars[0], pars[1]);
    EXPECT_GT(pars[0], 1.0);
    curLevelSize = ownSize;
    curEnemyCount = ownEnemies;
    initNewGame();
}

// A challenge starts at once and is one level: its win or loss prints its
// line, and Enter goes back to the menu with the player's own settings.
TEST_F(GameRulesGL, AChallengeIsOneLevelAndEnterLeavesItForTheMenu) {
    const int ownSize = curLevelSize;
    MazeCode code;
    code.mazeSize = 12;
    code.enemies = 30;
    code.health = 2000;
    code.seed = 1739055656;
    const std::string text = code.text();
    for (const bool win : {true, false}) {
        enterState(State::Menu);
        prepareChallenge(code);
        testing::internal::CaptureStdout();
        startChallenge(ParTime::measure);
        EXPECT_EQ(currentState(), State::Playing) << stateName(currentState());
        EXPECT_EQ(curLevelSize, code.mazeSize);
        if (win) {
            goalTriggerTest();
        } else {
            player->health = 0.0f;
            playerHealthMonitor();
        }
        keyboardFunc(keyEnter, 0, 0);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("challenge: " + text + "\n"), std::string::npos) << out;
        const std::string end =
            win ? "challenge won: " + text + R"( time 0\.00 s \(best 0\.00 s, par [0-9]+\.[0-9]{2} s, medal gold\)\n)"
                : "challenge lost: " + text + "\n";
        EXPECT_TRUE(std::regex_search(out, std::regex(end))) << out;
        EXPECT_EQ(currentState(), State::Menu) << stateName(currentState());
        EXPECT_EQ(curLevelSize, ownSize);
        EXPECT_FALSE(challengeInPlay());
    }
}

Vector3 drawnBall, drawnCamera, drawnNewborn;

void noteDrawnPositions() {
    drawnBall = player->position;
    drawnCamera = camera->position;
    drawnNewborn = static_cast<SgSpatialEntity*>(particleController->getChildren().back())->position;
}

void expectNear(const Vector3& a, const Vector3& b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-4f) << what;
    EXPECT_NEAR(a.y, b.y, 1e-4f) << what;
    EXPECT_NEAR(a.z, b.z, 1e-4f) << what;
}

// Between ticks the ball and the camera are drawn at the blend of their last
// two tick positions, and the tick positions come back for the next tick;
// an enemy born in the tick, and everything after a rebuild, is drawn where
// it is.
TEST_F(GameRulesGL, FramesBetweenTicksDrawTheBlendOfTheLastTwoTickPositions) {
    // A fresh level's swarm has room for the newborn whatever ran before.
    initNewGame();
    enterState(State::Playing);
    TickBlend blend;
    blend.beforeTick();
    const Vector3 ball = player->position;
    const Vector3 eye = camera->position;
    player->position += Vector3(1, 0, -2);
    camera->position += Vector3(0, 0, 4);
    particleController->addParticle(Vector3(3, 1, 3));
    blend.draw(0.25, noteDrawnPositions);
    expectNear(drawnBall, ball + Vector3(0.25f, 0, -0.5f), "ball");
    expectNear(drawnCamera, eye + Vector3(0, 0, 1), "camera");
    expectNear(drawnNewborn, Vector3(3, 1, 3), "newborn");
    expectNear(player->position, ball + Vector3(1, 0, -2), "tick position");

    initNewGame();
    const Vector3 rebuilt = camera->position;
    camera->position += Vector3(5, 0, 0);
    blend.draw(0.5, noteDrawnPositions);
    expectNear(drawnCamera, rebuilt + Vector3(5, 0, 0), "camera after a rebuild");
}

TEST(GameExitDeathTest, TheExitEntryEndsTheProcessWithCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
#if defined(__SANITIZE_ADDRESS__)
            // Checked now, while the OpenGL driver is still loaded.
            __lsan_do_leak_check();
#endif
            mainMenuOnExit();
        },
        testing::ExitedWithCode(0), "");
}
}  // namespace
