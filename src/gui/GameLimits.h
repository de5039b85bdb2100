#pragma once

// The ranges and defaults of the game's settings: what the options screen
// offers, and what the command line, the settings file, the records and the
// replays accept. The options screen is the lowest layer that needs them.
struct GameLimits {
    // Tiles per side. The options screen offers from menuMinMazeSize; the
    // command line allows smaller mazes, so long unattended runs finish many
    // short levels, and the records and replays keep what it allows.
    static constexpr int minMazeSize = 3;
    static constexpr int menuMinMazeSize = 20;
    static constexpr int maxMazeSize = 80;
    static constexpr int defaultMazeSize = 32;

    // The most enemies a swarm grows to; the options screen steps by 5.
    static constexpr int minEnemies = 5;
    static constexpr int maxEnemies = 400;
    static constexpr int enemiesStep = 5;
    static constexpr int defaultEnemies = 100;

    // The ball's health at the start of a game; the options screen steps by 50.
    static constexpr unsigned minHealth = 100;
    static constexpr unsigned maxHealth = 5000;
    static constexpr unsigned healthStep = 50;
    static constexpr unsigned defaultHealth = 2000;

    // Multiplies the mouse's push on the ball (1: 10 pixels = 1 unit/s).
    static constexpr float minSensitivity = 0.25f;
    static constexpr float maxSensitivity = 4.0f;

    // Music and effects volume, percent.
    static constexpr int maxVolume = 100;

    // The frame cap (0: none). Below 20 fps a frame would stretch past the
    // longest time the world catches up in one frame.
    static constexpr int minMaxFps = 20;
    static constexpr int maxMaxFps = 1000;
};
