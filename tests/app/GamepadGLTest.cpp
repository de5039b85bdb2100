// A pad through SDL's virtual joystick, declared a game controller, drives
// the game's own path: the SDL events, the recorded handlers, the ticks.
#ifdef KELVO_GAMEPAD
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "app/FrameLoop.h"
#include "app/Gamepad.h"
#include "app/GameWorld.h"
#include "app/PlayInput.h"
#include "gui/SgGUISelectorElement.h"

using gameworld::State;
using gameworld::currentState;
using gameworld::enterState;
using gameworld::stateName;

namespace {
class GamepadGL : public testing::Test {
protected:
    void SetUp() override {
        gameworld::ensureWorld();
        std::string error;
        ASSERT_TRUE(pads.start("", error)) << error;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "kelvo test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(device);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        pads.poll();  // the pad is plugged in
        releaseHeldControls();
    }
    void TearDown() override {
        if (joystick != nullptr) {
            SDL_JoystickDetachVirtual(device);
            SDL_JoystickClose(joystick);
        }
        pads.poll();
    }
    // Ticks of game time, one per frame, the pad read after each as the game does.
    void play(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            realDisplay(1.0 / 60.0);
            pads.poll();
        }
    }
    void press(SDL_GameControllerButton button) {
        SDL_JoystickSetVirtualButton(joystick, button, 1);
        pads.poll();
        SDL_JoystickSetVirtualButton(joystick, button, 0);
        pads.poll();
    }

    Gamepad pads;
    int device = -1;
    SDL_Joystick* joystick = nullptr;
};

// The stick pushed right for a second, high in the air where nothing else
// changes the ball's horizontal speed: the ball moves in +x at the pushed
// share of its top speed; inside the dead zone it does not move.
TEST_F(GamepadGL, StickRollsAtTheSpeedPushedAndRestsInsideTheDeadZone) {
    const Vector3 home = player->position;
    for (float push : {0.1f, 0.6f, 1.0f}) {
        SCOPED_TRACE(testing::Message() << "stick at " << push);
        enterState(State::Playing);
        player->position = Vector3(home.x, 1000.0f, home.z);
        restartTickClock();
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(push * 32767));
        pads.poll();
        play(60);
        const float p = push <= Gamepad::deadZone ? 0.0f : (push - Gamepad::deadZone) / (1.0f - Gamepad::deadZone);
        EXPECT_NEAR(player->velocity.x, p * player->maxSpeed, 0.01f);
        EXPECT_NEAR(player->velocity.z, 0.0f, 0.01f);
        EXPECT_EQ(player->position.x > home.x + 0.1f, p > 0.0f);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, 0);
        pads.poll();
    }
    player->position = home;
}

// A jumps from the floor, Start pauses and continues; the D-pad with A and
// B drives the menus; unplugging the pad pauses a game in play.
TEST_F(GamepadGL, AJumpsStartPausesTheDPadDrivesTheMenusAndUnpluggingPauses) {
    enterState(State::Playing);
    player->position.y = 0.0f;
    press(SDL_CONTROLLER_BUTTON_A);
    applyHeldControls();
    EXPECT_FLOAT_EQ(player->velocity.y, 7.5f);
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_STREQ(stateName(currentState()), "Paused");
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_STREQ(stateName(currentState()), "Playing");
    press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_STREQ(stateName(currentState()), "Playing") << "B never leaves a running game";

    // The D-pad and A reach the options screen from the menu's first entry,
    // Right changes the maze size, B goes back.
    enterState(State::Menu);
    while (mainGUI->getMainIndex() != 0) {
        press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    }
    auto* mazeSize = static_cast<SgGUISelectorElement*>(mainGUI->findChild("levelsizeSelector"));
    const unsigned sizeBefore = mazeSize->getCurrentElementNumber();
    for (auto button : {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A}) {
        press(button);
    }
    ASSERT_TRUE(mainGUI->findChild("optionsImage")->isActive());
    while (mainGUI->getOptionsIndex() != 0) {
        press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    }
    press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(mazeSize->getCurrentElementNumber(), sizeBefore + 1);
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_FALSE(mainGUI->findChild("optionsImage")->isActive());

    enterState(State::Playing);
    SDL_JoystickDetachVirtual(device);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    pads.poll();
    EXPECT_STREQ(stateName(currentState()), "Paused");
}
}  // namespace
#endif
