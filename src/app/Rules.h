#pragma once

#include "challenge/MazeCode.h"

class SgTrigger;
class Tile;

// Rules of play: building levels, winning, losing, health, and the menu's
// callbacks. All of them work on the shell's globals.
void initNewGame();
// The code of the level built last: the game's settings and the level's seed.
MazeCode levelMazeCode();
// The trigger over the goal tile that calls goalTriggerTest when the ball enters it.
SgTrigger* makeGoalTrigger(Tile* goal);
// One frame of play; `seconds` of game time count towards the level's time.
void gameStep(double seconds);
void goalTriggerTest();
void wallTriggerFunc();
void playerHealthMonitor();
void playerLostGame();
void mainMenuOnGameStart();
void mainMenuOnExit();
void mainMenuOptionsChanged(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool useShaders);

// Called after the options screen saved the settings file, so the settings
// it does not show (mouse, volumes, full screen) take effect; null in tests.
extern void (*settingsSaved)();

// Space's pause and its end; the pause picture shows while paused.
void setPaused(bool paused);
// The window lost the player's attention: a game in play pauses as with Space.
void pauseForFocusLoss();

// Nothing on the screen moves: the menus, the paused game, the won and lost
// pictures (their world is frozen) show the same picture until a key.
bool worldStill();

// Key-driven transitions (Esc while playing, Enter after a win or a loss).
void leaveGameToMenu();
void continueAfterWin();
void leaveLostGame();
