#pragma once

#include "challenge/MazeCode.h"

// A challenge's par: the autopilot's time on the code's maze, played out of
// sight before the challenge starts (no frame drawn, no sound, nothing
// recorded or counted as a win).
class ParTime {
public:
    // Plays the code's level with a fresh autopilot from the state a drawn
    // game starts in. True, with the time in seconds, when it reached the
    // goal before the autopilot would give up. Either way the level is then
    // built afresh from the code, exactly as a fresh start has it, and the
    // game is left in the menu.
    static bool measure(const MazeCode& code, double& seconds);
};
