#include "app/Gamepad.h"

#include <cmath>
#include <cstdio>

#include "app/Globals.h"
#include "app/Input.h"
#include "app/PlayInput.h"
#include "gui/SgGUI.h"
#include "platform/KeyCodes.h"

namespace {
bool gameRunning() { return mainGUI != nullptr && mainGUI->isGameRunning(); }

bool inPlay() { return gameRunning() && !gamePaused && !playerWon && !playerLost; }

// The D-pad's arrow key, 0 for any other button.
int arrowOf(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return keyLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return keyRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return keyUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return keyDown;
    default: return 0;
    }
}
}  // namespace

Gamepad::~Gamepad() {
    if (pad != nullptr) {
        SDL_GameControllerClose(pad);
    }
    if (running) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

bool Gamepad::start(const std::string& configFolder, std::string& error) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        error = SDL_GetError();
        return false;
    }
    running = true;
    if (!configFolder.empty()) {
        // A missing file is no problem; SDL's own database maps common pads.
        SDL_GameControllerAddMappingsFromFile((configFolder + "/gamecontrollerdb.txt").c_str());
    }
    return true;
}

void Gamepad::poll() {
    SDL_Event event;
    while (running && SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (pad == nullptr) {
                opened(event.cdevice.which);
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.which == padId) {
                button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.which == padId) {
                axisMoved();
            }
            break;
        default:
            break;
        }
    }
    // Asked directly: SDL may tell of the removal only a pump later.
    if (pad != nullptr && !SDL_GameControllerGetAttached(pad)) {
        SDL_GameControllerClose(pad);
        pad = nullptr;
        padId = -1;
        focusLost();
    }
}

void Gamepad::opened(int deviceIndex) {
    pad = SDL_GameControllerOpen(deviceIndex);
    if (pad != nullptr) {
        padId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        printf("game controller: %s\n", SDL_GameControllerName(pad));
    }
}

void Gamepad::button(int button, bool pressed) {
    const int arrow = arrowOf(button);
    const bool playing = inPlay();
    if (arrow != 0 && !gameRunning()) {
        if (pressed) {
            specialFunc(arrow, 0, 0);
        }
    } else if (arrow != 0) {
        (pressed ? playKeyDown : playKeyUp)(KeyBindings::specialKey(arrow));
    } else if (button == SDL_CONTROLLER_BUTTON_A && (playing || !pressed)) {
        actionFunc(PlayAction::Jump, pressed);
    } else if (button == SDL_CONTROLLER_BUTTON_A) {
        keyboardFunc(keyEnter, 0, 0);
    } else if (button == SDL_CONTROLLER_BUTTON_B && pressed && !gameRunning()) {
        keyboardFunc(keyEsc, 0, 0);
    } else if (button == SDL_CONTROLLER_BUTTON_START && pressed && gameRunning()) {
        keyboardFunc(keySpace, 0, 0);
    } else if (button == SDL_CONTROLLER_BUTTON_BACK && pressed && gameRunning()) {
        keyboardFunc(keyTab, 0, 0);
    } else if (button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER || button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) {
        actionFunc(PlayAction::LookFromAbove, pressed);
    }
}

void Gamepad::axisMoved() {
    int x = 0;
    int z = 0;
    stickDeflection(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX),
                    SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY), x, z);
    if (x != stickX || z != stickZ) {
        stickX = x;
        stickZ = z;
        stickFunc(x, z);
    }
}

void Gamepad::stickDeflection(int rawX, int rawY, int& x, int& z) {
    const float fx = static_cast<float>(rawX) / 32767.0f;
    const float fy = static_cast<float>(rawY) / 32767.0f;
    const float length = std::hypot(fx, fy);
    x = 0;
    z = 0;
    if (length <= deadZone) {
        return;
    }
    // The travel beyond the dead zone, 0..1 at full deflection.
    const float p = std::fmin(1.0f, (length - deadZone) / (1.0f - deadZone));
    x = static_cast<int>(std::lround(fx / length * p * 10000.0f));
    z = static_cast<int>(std::lround(fy / length * p * 10000.0f));
}
