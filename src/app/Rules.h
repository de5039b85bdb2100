#pragma once

// Rules of play: building levels, winning, losing, health, and the menu's
// callbacks. All of them work on the shell's globals.
void initNewGame();
void gameStep();
void goalTriggerTest();
void wallTriggerFunc();
void playerHealthMonitor();
void playerLostGame();
void mainMenuOnGameStart();
void mainMenuOnExit();
void mainMenuOptionsChanged(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool useShaders);

// Key-driven transitions (Esc while playing, Enter after a win or a loss).
void leaveGameToMenu();
void continueAfterWin();
void leaveLostGame();
