#include "app/PlayInput.h"

#include <algorithm>
#include <vector>

#include "app/FrameHooks.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/TickClock.h"
#include "gui/SgGUI.h"
#include "physics/SgPlayer.h"
#include "sg/SgCamera.h"

namespace {
PlayControls controls;
const KeyBindings defaultKeys;
const KeyBindings* keys = &defaultKeys;
// Bound keys now down, in the order pressed.
std::vector<KeyBindings::Key> keysDown;
// Whether the camera was last sent up for the look action.
bool lookingFromAbove = false;

bool inPlay() {
    return mainGUI != nullptr && mainGUI->isGameRunning() && !gamePaused && !playerWon && !playerLost;
}

bool anotherKeyHolds(PlayAction action) {
    PlayAction held = action;
    return std::any_of(keysDown.begin(), keysDown.end(),
                       [&](KeyBindings::Key key) { return keys->actionOf(key, held) && held == action; });
}

void showFromAbove(bool above) {
    if (above == lookingFromAbove || camera == nullptr) {
        return;
    }
    lookingFromAbove = above;
    if (above) {
        camera->zoomOut();
    } else {
        camera->zoomIn();
    }
}
}  // namespace

void usePlayKeys(const KeyBindings& bindings) { keys = &bindings; }

const PlayControls& heldControls() { return controls; }

void playKeyDown(KeyBindings::Key key) {
    PlayAction action = PlayAction::Jump;
    if (!keys->actionOf(key, action)) {
        return;
    }
    if (std::find(keysDown.begin(), keysDown.end(), key) == keysDown.end()) {
        keysDown.push_back(key);
    }
    if (!controls.held(action)) {
        actionFunc(action, true);
    }
}

void playKeyUp(KeyBindings::Key key) {
    PlayAction action = PlayAction::Jump;
    if (!keys->actionOf(key, action)) {
        return;
    }
    keysDown.erase(std::remove(keysDown.begin(), keysDown.end(), key), keysDown.end());
    if (controls.held(action) && !anotherKeyHolds(action)) {
        actionFunc(action, false);
    }
}

void keyboardUpEvent(unsigned char key, int, int) { playKeyUp(KeyBindings::ordinaryKey(key)); }

void specialUpEvent(int key, int, int) { playKeyUp(KeyBindings::specialKey(key)); }

void actionFunc(PlayAction action, bool pressed) {
    if (pressed && !inPlay()) {
        return;
    }
    frameHooks.inputArrived(InputEvent{InputEvent::Kind::Action, static_cast<int32_t>(action), pressed ? 1 : 0});
    controls.set(action, pressed);
}

void stickFunc(int x, int z) {
    if ((x != 0 || z != 0) && !inPlay()) {
        return;
    }
    frameHooks.inputArrived(InputEvent{InputEvent::Kind::Stick, x, z});
    controls.setStick(static_cast<float>(x) / 10000.0f, static_cast<float>(z) / 10000.0f);
}

void applyHeldControls() {
    if (!inPlay()) {
        controls.releaseAll();
    }
    if (player != nullptr) {
        const PlayControls::Push push = controls.tick(player->maxSpeed, static_cast<float>(TickClock::tickSeconds),
                                                      player->velocity.x, player->velocity.z);
        player->velocity.x += push.dx;
        player->velocity.z += push.dz;
        if (push.jump) {
            jumpFromFloor();
        }
    }
    showFromAbove(controls.held(PlayAction::LookFromAbove));
}

void releaseHeldControls() { controls.releaseAll(); }
