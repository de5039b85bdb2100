#include "harness/ParTime.h"

#include "app/FrameHooks.h"
#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/LevelSeeds.h"
#include "app/Rules.h"
#include "app/TickClock.h"
#include "harness/Autopilot.h"
#include "gui/SgGUI.h"
#include "physics/SgPlayer.h"
#include "physics/SgTrigger.h"
#include "sg/SgCamera.h"

namespace {
Autopilot* pilot = nullptr;
bool reachedGoal = false;

// In place of the goal's rule: no win recorded, no picture, no music.
void goalReached() {
    reachedGoal = true;
    gamePaused = true;
}

bool levelOver() { return reachedGoal || playerLost; }

// Once the level is over the autopilot would press Enter and leave it.
void pilotTick() {
    if (!levelOver()) {
        pilot->tick();
    }
}

void buildFresh(const MazeCode& code) {
    player->health = static_cast<float>(code.health);
    LevelSeeds::playNext(code.seed);
    initNewGame();
}

// The game as a drawn one starts it: in play, the world running.
void startOutOfSight() {
    reachedGoal = false;
    goalTrigger->callback = goalReached;
    mainGUI->setGameRunning(true);
    camera->setActive(true);
}

// The cursor where a fresh run's first motion expects it, and nothing
// pending for the ball.
void centreCursor() {
    motionFunc(width / 2, height / 2);
    applyMouseMotion();
}

void backToMenu() {
    centreCursor();
    gamePaused = false;
    playerWon = false;
    playerLost = false;
    if (SgEntity* picture = mainGUI->findChild("lostImage")) {
        picture->setActive(false);
    }
    mainGUI->setGameRunning(false);
    camera->setActive(false);
}
}  // namespace

bool ParTime::measure(const MazeCode& code, double& seconds) {
    AudioManager* const sound = audioManager;
    const std::vector<std::function<void(const InputEvent&)>> listeners = frameHooks.input;
    const bool warping = pointerWarpingOn();
    audioManager = nullptr;
    frameHooks.input.clear();
    setPointerWarping(false);

    centreCursor();
    buildFresh(code);
    startOutOfSight();
    Autopilot autopilot;
    pilot = &autopilot;
    const long limit = static_cast<long>(Autopilot::giveUpSeconds * TickClock::ticksPerSecond);
    runUnseenTicks(limit, levelOver, pilotTick);
    pilot = nullptr;
    const bool won = reachedGoal;
    seconds = levelSeconds;
    backToMenu();
    buildFresh(code);

    audioManager = sound;
    frameHooks.input = listeners;
    setPointerWarping(warping);
    return won;
}
