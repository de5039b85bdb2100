#pragma once

#include <string>
#include <vector>

#include "controls/KeyBindings.h"
#include "gui/GameLimits.h"

// The player's settings as kept in settings.cfg: plain "key value" lines a
// person can edit, "#" starting a comment. Reading never fails: a key that is
// missing or has a bad value keeps its default, and each problem is reported
// once. Writing keeps the person's comments, unknown keys and line order, and
// puts the current values in place of the known keys.
class Settings {
public:
    // Per-pixel lighting: Automatic leaves the choice to the renderer check
    // (on with OpenGL 2.0, off on a software renderer).
    enum class Lighting { Automatic, Off, On };

    // The file accepts what the options screen offers.
    static constexpr int minMazeSize = GameLimits::menuMinMazeSize;
    static constexpr int maxMazeSize = GameLimits::maxMazeSize;
    static constexpr int minEnemies = GameLimits::minEnemies;
    static constexpr int maxEnemies = GameLimits::maxEnemies;
    static constexpr unsigned minHealth = GameLimits::minHealth;
    static constexpr unsigned maxHealth = GameLimits::maxHealth;
    static constexpr float minSensitivity = GameLimits::minSensitivity;
    static constexpr float maxSensitivity = GameLimits::maxSensitivity;
    static constexpr int maxVolume = GameLimits::maxVolume;
    static constexpr int minMaxFps = GameLimits::minMaxFps;
    static constexpr int maxMaxFps = GameLimits::maxMaxFps;
    // Larger than any settings file a person writes; bigger ones are not read.
    static constexpr unsigned long maxFileBytes = 64 * 1024;

    int mazeSize = GameLimits::defaultMazeSize;
    int enemyCount = GameLimits::defaultEnemies;
    unsigned startingHealth = GameLimits::defaultHealth;
    Lighting lighting = Lighting::Automatic;
    float mouseSensitivity = 1.0f;  // multiplies the mouse's push on the ball
    bool invertMouseY = false;      // mouse forward rolls the ball towards the camera
    int musicVolume = 100;          // percent
    int effectsVolume = 100;        // percent
    bool fullscreen = true;
    bool vsync = true;  // where the driver lets the game choose
    int maxFps = 240;   // frames drawn per second at most; 0 draws as fast as possible
    // Extra keys for the play actions, one "bind ACTION KEY" line each.
    KeyBindings bindings;

    // Takes every valid setting from the text of a settings file; `problems`
    // gets one line per ignored key or line, each naming the key.
    void parse(const std::string& text, std::vector<std::string>& problems);
    // The text of the file for the current values.
    std::string serialize() const;

private:
    std::vector<std::string> lines;  // the parsed file, for serialize()
};
