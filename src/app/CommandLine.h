#pragma once

#include <string>
#include <vector>

// Options of the kelvo executable. Everything is off by default, so a plain
// start behaves like the game always has.
class CommandLine {
public:
    // ExitSuccess asks for the usage text, ShowVersion for the version line.
    enum class Outcome { Run, ExitSuccess, ShowVersion, ExitUsageError };

    // Parses argv[1..]; on a usage error `error` names the offending argument.
    Outcome parse(int argc, char** argv);
    static std::string usage(const char* program);

    static constexpr unsigned benchmarkSeed = 1;
    static constexpr long benchmarkFrames = 3000;
    // The options screen offers 20..80; smaller mazes are allowed here so
    // long unattended runs finish many short levels.
    static constexpr int minMazeSize = 3;
    static constexpr int maxMazeSize = 80;
    static constexpr int minEnemies = 5;
    static constexpr int maxEnemies = 400;

    bool window = false;
    bool seedGiven = false;
    unsigned seed = 0;
    long frames = 0;
    // --autopilot: the ball plays itself through the game's own input handlers.
    bool autopilot = false;
    // --benchmark: autopilot with a fixed seed (unless --seed) for benchmarkFrames
    // frames (unless --frames), then a timing summary on standard output.
    bool benchmark = false;
    // --check-walls: abort when the ball's centre ends a frame inside a wall box.
    bool checkWalls = false;
    // --shaders: use the lighting program even on a software renderer.
    bool forceShaders = false;
    // --no-shaders: fixed-function lighting for this run, even where the
    // program would be used (a slow graphics chip, or a saved choice); the
    // options screen can still switch the program on.
    bool noShaders = false;
    // --fixed-step: every frame simulates 1/60 s whatever time it took
    // (--benchmark implies it), so a seed plays the same on every machine.
    bool fixedStep = false;
    // --no-record: this run saves no replay.
    bool noRecord = false;
    // --replay FILE: play a recorded run instead of a new one; --fast plays
    // it as fast as frames can be drawn instead of at the recorded pace.
    std::string replayFile;
    bool fast = false;
    // --quiet: no diagnostic lines on standard output (errors still show).
    bool quiet = false;
    // --records: print the best times and exit.
    bool showRecords = false;
    int levels = 0;      // --levels: with the autopilot, exit after this many finished levels
    int mazeSize = 0;    // --maze: tiles per side for every level; 0 keeps the default
    int enemyCount = 0;  // --enemies: swarm size for every level; 0 keeps the default
    std::string dataFolder;  // --data: the folder holding the textures, called "data"
    // Hidden test hook --press FRAME:KEY (repeatable): the keyboard callback
    // receives KEY (an ASCII code) just before frame FRAME (from 1) is drawn,
    // so scripts can start a game from the menu without a real keyboard.
    struct KeyPress {
        long frame;
        unsigned char key;
    };
    std::vector<KeyPress> presses;
    // Hidden test hook --trace-ball: while a game runs, prints
    // "ball tile: COLUMN ROW" each time the ball's centre enters another tile,
    // so a script sending real mouse motion can tell the ball rolled.
    bool traceBall = false;
    // Hidden measuring hook --no-culling: draw the whole scene every frame, in
    // tree order and with one lighting program, as the reference the
    // optimised drawing is timed and compared against.
    bool noCulling = false;
    std::string error;
};
