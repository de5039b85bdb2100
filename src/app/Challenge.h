#pragma once

#include <string>

#include "challenge/MazeCode.h"

// A challenge: the maze a code names, played as a one-level game that starts
// at once, timed against the best time on that code and against its par.
// Enter after its win or loss goes back to the menu, where the player's own
// settings hold again.

// Before init(): the code's settings become the game's and its seed the
// first level's.
void prepareChallenge(const MazeCode& code);
// The same for the daily maze of `date` (YYYY-MM-DD, UTC), whose play and
// wins are also counted for that day.
void prepareDailyChallenge(const std::string& date);
// Plays the code's maze out of sight and gives its par in seconds; false
// when the autopilot cannot win it. The entry passes the harness's.
using ParMeasure = bool (*)(const MazeCode& code, double& seconds);
// After init(): works out the par, says "challenge: CODE" and starts play.
void startChallenge(ParMeasure measurePar);
// A challenge's level is in play or its end is shown.
bool challengeInPlay();
// The rules' ends of a challenge's level: each prints its line. A win is
// recorded for the code; the code's best time after it is returned.
double challengeWon(double seconds);
void challengeLost();
// Leaving the challenge (to the menu): the player's settings come back.
void endChallenge();
