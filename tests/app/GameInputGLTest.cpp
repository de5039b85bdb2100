// The keyboard, special-key and mouse callbacks in every game state.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/GameWorld.h"
#include "app/FrameLoop.h"
#include "app/Input.h"
#include "app/PlayInput.h"
#include "app/TickClock.h"
#include "platform/KeyCodes.h"
#include "window/FullScreen.h"

using gameworld::State;
using gameworld::currentState;
using gameworld::enterState;
using gameworld::hudShown;
using gameworld::shownNumber;
using gameworld::stateName;

// The handlers are written against these names; they must be GLUT's codes.
static_assert(keyLeft == GLUT_KEY_LEFT && keyUp == GLUT_KEY_UP && keyRight == GLUT_KEY_RIGHT &&
              keyDown == GLUT_KEY_DOWN);
static_assert(buttonLeft == GLUT_LEFT_BUTTON && buttonRight == GLUT_RIGHT_BUTTON && statePressed == GLUT_DOWN &&
              stateReleased == GLUT_UP);

namespace {
constexpr unsigned char keyA = 'a';

class GameInputGL : public testing::Test {
protected:
    void SetUp() override {
        gameworld::ensureWorld();
        enterState(State::Menu);
        // Keys pressed by the tests before without their going up.
        releaseHeldControls();
        level = 1;
        displayMap = true;
        mainGUI->findChild("labyrinthMap")->setActive(true);
        // The menu's cursor on its first entry (start), wrapping upwards.
        while (mainGUI->getMainIndex() != 0) {
            mainGUI->handleButtonEvent(101);
        }
    }
};

struct KeyCase {
    State from;
    unsigned char key;
    State to;
    bool mapToggled;
};

// Every ordinary key the shell knows, and one it does not, in every state.
// In the menu the keys belong to the menu: Enter on its first entry starts
// a game, the others change nothing the shell owns.
const KeyCase keyTable[] = {
    {State::Menu, keyTab, State::Menu, false},
    {State::Menu, keyEnter, State::Playing, false},
    {State::Menu, keyEsc, State::Menu, false},
    {State::Menu, keySpace, State::Menu, false},
    {State::Menu, keyA, State::Menu, false},

    {State::Playing, keyTab, State::Playing, true},
    {State::Playing, keyEnter, State::Playing, false},
    {State::Playing, keyEsc, State::Menu, false},
    {State::Playing, keySpace, State::Paused, false},
    {State::Playing, keyA, State::Playing, false},

    {State::Paused, keyTab, State::Paused, true},
    {State::Paused, keyEnter, State::Paused, false},
    {State::Paused, keyEsc, State::Paused, false},
    {State::Paused, keySpace, State::Playing, false},
    {State::Paused, keyA, State::Paused, false},

    {State::Won, keyTab, State::Won, false},
    {State::Won, keyEnter, State::Playing, false},
    {State::Won, keyEsc, State::Won, false},
    {State::Won, keySpace, State::Won, false},
    {State::Won, keyA, State::Won, false},

    {State::Lost, keyTab, State::Lost, false},
    {State::Lost, keyEnter, State::Menu, false},
    {State::Lost, keyEsc, State::Lost, false},
    {State::Lost, keySpace, State::Lost, false},
    {State::Lost, keyA, State::Lost, false},
};

TEST_F(GameInputGL, EveryKeyInEveryState) {
    for (const KeyCase& c : keyTable) {
        SCOPED_TRACE(testing::Message() << "key " << static_cast<int>(c.key) << " in " << stateName(c.from));
        enterState(c.from);
        level = 3;
        displayMap = true;
        mainGUI->findChild("labyrinthMap")->setActive(true);
        const int lastKeyBefore = mainGUI->getLastKey();

        keyboardFunc(c.key, 0, 0);

        EXPECT_STREQ(stateName(currentState()), stateName(c.to));
        EXPECT_EQ(displayMap, !c.mapToggled);
        EXPECT_EQ(hudShown("labyrinthMap"), displayMap);
        // In the menu the key is the menu's; in play the shell's alone.
        EXPECT_EQ(mainGUI->getLastKey(), c.from == State::Menu ? c.key : lastKeyBefore);
        // Only the ways back to the menu start the level count again; the
        // way on to the next level keeps it.
        const bool newGame = c.to == State::Menu && c.from != State::Menu;
        EXPECT_EQ(level, newGame ? 1 : 3);
        if (newGame) {
            EXPECT_EQ(shownNumber("levelNumber"), 1u);
        }
    }
}

TEST_F(GameInputGL, TabHidesAndShowsTheMapAgain) {
    enterState(State::Playing);
    keyboardFunc(keyTab, 0, 0);
    EXPECT_FALSE(displayMap);
    EXPECT_FALSE(hudShown("labyrinthMap"));
    keyboardFunc(keyTab, 0, 0);
    EXPECT_TRUE(displayMap);
    EXPECT_TRUE(hudShown("labyrinthMap"));
}

// The arrows and F1 change no state; the menu reads them only while it is
// up. F11 switches full screen and back; the cursor hidden at start stays
// hidden.
TEST_F(GameInputGL, SpecialKeysReachTheMenuOnlyAndFullScreenKeepsTheCursorHidden) {
    const State states[] = {State::Menu, State::Playing, State::Paused, State::Won, State::Lost};
    const int keys[] = {100, 101, 102, 103, 1};
    for (State s : states) {
        for (int key : keys) {
            SCOPED_TRACE(testing::Message() << "special key " << key << " in " << stateName(s));
            enterState(s);
            const int lastKeyBefore = mainGUI->getLastKey();
            specialEvent(key, 0, 0);
            EXPECT_STREQ(stateName(currentState()), stateName(s));
            EXPECT_EQ(mainGUI->getLastKey(), s == State::Menu ? key : lastKeyBefore);
        }
    }
    enterState(State::Playing);
    ASSERT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_NONE);
    for (bool on : {true, false}) {
        specialEvent(keyF11, 0, 0);
        EXPECT_EQ(isFullScreen(), on);
        EXPECT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_NONE) << "full screen " << on;
    }
}

TEST_F(GameInputGL, LeftClickJumpsOnlyFromTheFloor) {
    struct Case {
        float y;
        bool jumps;
    };
    const Case cases[] = {{0.0f, true},   {0.59f, true},  {-0.59f, true}, {0.6f, false},
                          {-0.6f, false}, {3.0f, false}, {-5.0f, false}};
    const State states[] = {State::Menu, State::Playing, State::Paused};
    for (State s : states) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "height " << c.y << " in " << stateName(s));
            enterState(s);
            player->position.y = c.y;
            player->velocity = Vector3(1, -2, 3);
            mouseButtonFunc(0, 0, 10, 10);
            EXPECT_FLOAT_EQ(player->velocity.y, c.jumps ? 7.5f : -2.0f);
            EXPECT_FLOAT_EQ(player->velocity.x, 1.0f);
            EXPECT_FLOAT_EQ(player->velocity.z, 3.0f);
            mouseButtonFunc(0, 1, 10, 10);  // releasing does nothing
            EXPECT_FLOAT_EQ(player->velocity.y, c.jumps ? 7.5f : -2.0f);
        }
    }
}

TEST_F(GameInputGL, RightButtonZoomsOutWhileHeldAndBackInOnRelease) {
    enterState(State::Playing);
    player->position.y = 0.0f;
    mouseButtonFunc(2, 0, 10, 10);
    EXPECT_TRUE(camera->isZoomingOut());
    EXPECT_FALSE(camera->isZoomingIn());
    mouseButtonFunc(2, 1, 10, 10);
    EXPECT_TRUE(camera->isZoomingIn());
    EXPECT_FALSE(camera->isZoomingOut());

    // The middle button does nothing at all.
    const Vector3 before = player->velocity;
    mouseButtonFunc(1, 0, 10, 10);
    mouseButtonFunc(1, 1, 10, 10);
    EXPECT_TRUE(camera->isZoomingIn());
    EXPECT_FLOAT_EQ(player->velocity.y, before.y);
}

// Each case moves the cursor from one point to another; a move onto an edge
// warps the cursor to the opposite side. The motion up to the edge counts,
// the warp does not, and it all reaches the ball with the next tick (or the
// next key or button, so that they keep their order).
TEST_F(GameInputGL, MouseMotionSteersTheBallAndEdgeWrapsKeepTheMotionUpToTheEdge) {
    struct Case {
        const char* what;
        int fromX, fromY, toX, toY;
        int nextX, nextY;  // where the shell now believes the cursor is
    };
    const int w = width;
    const int h = height;
    const Case cases[] = {
        {"plain move", 500, 300, 520, 290, 520, 290},
        {"right edge", 500, 300, w - 1, 310, 2, 310},
        {"beyond the right edge", 500, 300, w + 40, 290, 2, 290},
        {"left edge", 500, 300, 0, 320, w - 2, 320},
        {"bottom edge", 500, 300, 530, h - 1, 530, 2},
        {"top edge", 500, 300, 480, 0, 480, h - 2},
        {"corner", 500, 300, w - 1, h - 1, 2, 2},
    };
    enterState(State::Playing);
    motionFunc(w / 2, h / 2);  // the first call only centres the cursor
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        motionFunc(c.fromX, c.fromY);
        applyMouseMotion();
        player->velocity = Vector3(0, 0, 0);
        motionFunc(c.toX, c.toY);
        EXPECT_EQ(player->velocity, Vector3(0, 0, 0)) << "motion waits for the tick";
        applyMouseMotion();
        EXPECT_FLOAT_EQ(player->velocity.x, static_cast<float>(c.toX - c.fromX) / 10.0f);
        EXPECT_FLOAT_EQ(player->velocity.z, static_cast<float>(c.toY - c.fromY) / 10.0f);
        EXPECT_FLOAT_EQ(player->velocity.y, 0.0f);

        // The next move is measured from where the cursor was put, and a
        // button reaches the ball after it.
        const int stepX = c.nextX < w / 2 ? 10 : -10;
        const int stepY = c.nextY < h / 2 ? 10 : -10;
        player->velocity = Vector3(0, 0, 0);
        motionFunc(c.nextX + stepX, c.nextY + stepY);
        mouseButtonFunc(1, statePressed, 0, 0);  // the middle button, which does nothing else
        EXPECT_FLOAT_EQ(player->velocity.x, stepX / 10.0f);
        EXPECT_FLOAT_EQ(player->velocity.z, stepY / 10.0f);
    }

    // Motion is not gated by the state: the menu accumulates velocity too.
    enterState(State::Menu);
    motionFunc(500, 300);
    applyMouseMotion();
    player->velocity = Vector3(0, 0, 0);
    motionFunc(510, 300);
    applyMouseMotion();
    EXPECT_FLOAT_EQ(player->velocity.x, 1.0f);
}
// A held arrow key takes the ball to its top speed in the same number of
// ticks (about half a second of game time) whether the frames come 30 or
// 240 times a second. The ball is put high in the air, where nothing but
// the key's push changes its horizontal speed.
TEST_F(GameInputGL, HeldKeysReachTopSpeedInTheSameTicksAtEveryFrameRate) {
    const Vector3 home = player->position;
    long ticksAt60 = 0;  // the first rate's
    for (double rate : {60.0, 30.0, 144.0, 240.0}) {
        SCOPED_TRACE(testing::Message() << rate << " frames a second");
        enterState(State::Playing);
        player->position = Vector3(home.x, 1000.0f, home.z);
        restartTickClock();
        specialEvent(keyRight, 0, 0);
        const long start = ticksRun;
        while (player->velocity.x < 0.999f * player->maxSpeed && ticksRun - start < 600) {
            realDisplay(1.0 / rate);
        }
        specialUpEvent(keyRight, 0, 0);
        const long ticks = ticksRun - start;
        ticksAt60 = ticksAt60 == 0 ? ticks : ticksAt60;
        // Frames at 30 a second run two ticks each.
        EXPECT_LE(std::labs(ticks - ticksAt60), rate < 60.0 ? 1 : 0);
        EXPECT_NEAR(static_cast<double>(ticks) * TickClock::tickSeconds, 0.5, 0.05);
        printf("top speed by key at %.0f frames/s: %ld ticks\n", rate, ticks);
    }
    player->position = home;
}

// Two keys of one action: the action lasts until the last is let go. Pause,
// focus loss and the menu let go of everything; E jumps with the next tick,
// once per press.
TEST_F(GameInputGL, HeldActionsEndWithTheirLastKeyAndOnPauseFocusLossAndMenu) {
    enterState(State::Playing);
    keyboardEvent('d', 0, 0);
    specialEvent(keyRight, 0, 0);
    keyboardUpEvent('D', 0, 0);  // Shift went down meanwhile
    EXPECT_TRUE(heldControls().held(PlayAction::RollRight));
    specialUpEvent(keyRight, 0, 0);
    EXPECT_FALSE(heldControls().held(PlayAction::RollRight));

    keyboardEvent('q', 0, 0);
    applyHeldControls();
    EXPECT_TRUE(camera->isZoomingOut()) << "Q looks from above";
    keyboardFunc(keySpace, 0, 0);
    applyHeldControls();
    EXPECT_TRUE(camera->isZoomingIn()) << "pause";
    keyboardFunc(keySpace, 0, 0);
    keyboardEvent('w', 0, 0);
    focusLost();
    EXPECT_FALSE(heldControls().held(PlayAction::RollForward)) << "focus loss";
    enterState(State::Menu);
    specialEvent(keyDown, 0, 0);
    EXPECT_FALSE(heldControls().held(PlayAction::RollBack)) << "menu";

    enterState(State::Playing);
    player->position.y = 0.0f;
    keyboardEvent('e', 0, 0);
    EXPECT_FLOAT_EQ(player->velocity.y, 0.0f) << "waits for the tick";
    applyHeldControls();
    EXPECT_FLOAT_EQ(player->velocity.y, 7.5f);
    player->velocity.y = 0.0f;
    applyHeldControls();
    EXPECT_FLOAT_EQ(player->velocity.y, 0.0f);
    releaseHeldControls();
}
}  // namespace
