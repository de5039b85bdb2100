#pragma once

#include <string>

#include <SDL2/SDL.h>

// Game controllers through SDL2's game-controller API (the window, the GL
// context and the keys stay GLUT's). Every pad feeds the game through the
// recorded handlers a key does, so replays need nothing of SDL:
//   in play: left stick rolls (a deflection p, 0..1 after a radial dead
//   zone, steers towards p times the top speed), D-pad rolls as the arrow
//   keys do, A jumps, a shoulder held looks from above, Start pauses and
//   continues, Back shows or hides the map;
//   elsewhere: D-pad moves through the menus, A is Enter, B is Esc (a running
//   game is never left from the pad).
// Pads plugged in while the game runs are opened; unplugging the pad in use
// is a focus loss (a game in play pauses).
class Gamepad {
public:
    // Deflections below this share of the stick's full travel count as rest.
    static constexpr float deadZone = 0.2f;

    ~Gamepad();
    // Starts SDL's game-controller subsystem alone, with SDL's own signal
    // handlers off so that SIGINT and SIGTERM end the game as before, and
    // reads the player's gamecontrollerdb.txt from `configFolder` if there is
    // one. False, with SDL's reason in `error`, when SDL cannot start.
    bool start(const std::string& configFolder, std::string& error);
    // Handles every SDL event since the last call; once per tick.
    void poll();
    // The stick's deflection after the dead zone, in ten-thousandths of full
    // travel on each axis, from SDL's raw axis values (-32768..32767).
    static void stickDeflection(int rawX, int rawY, int& x, int& z);

private:
    void opened(int deviceIndex);
    void button(int button, bool pressed);
    void axisMoved();

    bool running = false;
    SDL_GameController* pad = nullptr;
    SDL_JoystickID padId = -1;
    int stickX = 0;
    int stickZ = 0;
};
