#include "app/Input.h"

#include <cstdio>

#include <GL/freeglut.h>

#include "app/FrameHooks.h"
#include "app/Globals.h"
#include "app/PlayInput.h"
#include "app/Rules.h"
#include "gui/SgGUI.h"
#include "physics/SgPlayer.h"
#include "platform/Cursor.h"
#include "platform/KeyCodes.h"
#include "profile/PlayerFiles.h"
#include "sg/SgCamera.h"
#include "window/FullScreen.h"
#include "window/Screenshot.h"

namespace {
// Flips a HUD switch (map shown, game paused) and the picture that shows it.
void toggleHudElement(bool& flag, const char* name) {
    flag = !flag;
    if (SgEntity* element = mainGUI->findChild(name)) {
        element->setActive(flag);
    }
}

bool pointerWarping = true;
// Pixels of motion not yet added to the ball's velocity.
int pendingX = 0;
int pendingY = 0;

void warpPointer(int x, int y) {
    if (pointerWarping) {
        Cursor::warp(x, y);
    }
}

void tell(InputEvent::Kind kind, int a, int b) { frameHooks.inputArrived(InputEvent{kind, a, b}); }

// Switches and remembers the choice in the settings file.
void toggleFullScreen() {
    const bool on = !isFullScreen();
    setFullScreen(on);
    changeSettings([on](Settings& saved) { saved.fullscreen = on; });
}
}  // namespace

void setPointerWarping(bool enabled) { pointerWarping = enabled; }

bool pointerWarpingOn() { return pointerWarping; }

void deliverInput(const InputEvent& event) {
    switch (event.kind) {
    case InputEvent::Kind::Key:
        keyboardFunc(static_cast<unsigned char>(event.a), 0, 0);
        break;
    case InputEvent::Kind::SpecialKey:
        specialFunc(event.a, 0, 0);
        break;
    case InputEvent::Kind::Button:
        mouseButtonFunc(event.a, event.b, 0, 0);
        break;
    case InputEvent::Kind::Motion:
        motionFunc(event.a, event.b);
        break;
    case InputEvent::Kind::Reshape:
        width = event.a;
        height = event.b;
        break;
    case InputEvent::Kind::FocusLost:
        focusLost();
        break;
    case InputEvent::Kind::Action:
        actionFunc(static_cast<PlayAction>(event.a), event.b != 0);
        break;
    case InputEvent::Kind::Stick:
        stickFunc(event.a, event.b);
        break;
    }
}


void keyboardEvent(unsigned char key, int x, int y) {
    if (key == keyEnter && (glutGetModifiers() & GLUT_ACTIVE_ALT) != 0) {
        toggleFullScreen();
        return;
    }
    keyboardFunc(key, x, y);
    playKeyDown(KeyBindings::ordinaryKey(key));
}

void specialEvent(int key, int x, int y) {
    if (key == keyF11) {
        toggleFullScreen();
    } else if (key == keyF12) {
        requestScreenshot();
    } else {
        specialFunc(key, x, y);
        playKeyDown(KeyBindings::specialKey(key));
    }
}

void keyboardFunc(unsigned char key, int, int) {
    tell(InputEvent::Kind::Key, key, 0);
    applyMouseMotion();
    if (!mainGUI->isGameRunning()) {
        mainGUI->handleButtonEvent(key);
        return;
    }
    printf("button %i pressed\n", key);
    switch (key) {
    case keyTab:
        if (!playerLost && !playerWon) {
            toggleHudElement(displayMap, "labyrinthMap");
        }
        break;
    case keyEnter:
        // Both rows are checked within one press, in this order.
        if (playerLost) {
            leaveLostGame();
        }
        if (playerWon) {
            continueAfterWin();
        }
        break;
    case keyEsc:
        if (!gamePaused && !playerLost && !playerWon) {
            leaveGameToMenu();
        }
        break;
    case keySpace:
        if (!playerLost && !playerWon) {
            setPaused(!gamePaused);
        }
        break;
    default:
        break;
    }
}

void specialFunc(int key, int, int) {
    tell(InputEvent::Kind::SpecialKey, key, 0);
    printf("button pressed: %i\n", key);
    mainGUI->handleButtonEvent(key);
}

void focusLost() {
    tell(InputEvent::Kind::FocusLost, 0, 0);
    releaseHeldControls();
    pauseForFocusLoss();
}

void windowStatusFunc(int state) {
    if (state == GLUT_HIDDEN) {
        focusLost();
    }
}

void entryFunc(int state) {
    if (state == GLUT_LEFT) {
        focusLost();
    }
}

void mouseButtonFunc(int button, int state, int, int) {
    tell(InputEvent::Kind::Button, button, state);
    applyMouseMotion();
    if (button == buttonLeft && state == statePressed) {
        jumpFromFloor();
    } else if (button == buttonRight && state == statePressed) {
        camera->zoomOut();
    } else if (button == buttonRight && state == stateReleased) {
        camera->zoomIn();
    }
}

void motionFunc(int x, int y) {
    tell(InputEvent::Kind::Motion, x, y);
    static int oldx = width / 2;
    static int oldy = height / 2;
    static bool passOne = true;
    if (passOne) {
        warpPointer(width / 2, height / 2);
        passOne = false;
    }
    // The cursor is kept inside the window by moving it to the opposite edge.
    // The motion up to the edge counts; the jump does not.
    const int dx = x - oldx;
    const int dy = y - oldy;
    const int keptX = cursorKeptInside(x, width);
    const int keptY = cursorKeptInside(y, height);
    if (keptX != x || keptY != y) {
        warpPointer(keptX, keptY);
    }
    pendingX += dx;
    pendingY += dy;
    oldx = keptX;
    oldy = keptY;
}

void jumpFromFloor() {
    if (player->position.y > -0.6f && player->position.y < 0.6f) {
        player->velocity.y = 7.5f;
    }
}

int cursorKeptInside(int position, int extent) {
    if (position >= extent - 1) {
        return 2;
    }
    if (position <= 0) {
        return extent - 2;
    }
    return position;
}

void applyMouseMotion() {
    if (player == nullptr || (pendingX == 0 && pendingY == 0)) {
        return;
    }
    // 10 pixels give 1 unit/s at sensitivity 1.
    const float push = mouseSensitivity / 10.0f;
    player->velocity.x += static_cast<float>(pendingX) * push;
    player->velocity.z += static_cast<float>(invertMouseY ? -pendingY : pendingY) * push;
    pendingX = 0;
    pendingY = 0;
}
