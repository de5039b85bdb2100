#pragma once

#include <string>
#include <vector>

// Options of the kelvo executable. Everything is off by default, so a plain
// start plays the game with the player's own settings.
class CommandLine {
public:
    // ExitSuccess asks for the usage text, ShowVersion for the version line.
    enum class Outcome { Run, ExitSuccess, ShowVersion, ExitUsageError };

    // One option `--help` lists: its name, the placeholder of its value
    // (empty for a switch) and its help, one line per '\n'-separated part.
    struct OptionText {
        std::string name;
        std::string argument;
        std::string help;
    };

    // Parses argv[1..]; on a usage error `error` names the offending argument.
    Outcome parse(int argc, char** argv);
    static std::string usage(const char* program);
    // The options `--help` lists, in its order: the one home of their texts,
    // against which the README and the manual pages are checked. The hidden
    // test hooks below are not among them.
    static std::vector<OptionText> options();

    static constexpr unsigned benchmarkSeed = 1;
    static constexpr long benchmarkFrames = 3000;

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
    // --challenge CODE: the maze the code names as a one-level game, started
    // at once; main reads the code, so a mistyped one gets its own line.
    std::string challenge;
    // --daily: the day's maze (from the UTC date) as a challenge.
    bool daily = false;
    // Hidden test hook --today YYYY-MM-DD: the date --daily and --records
    // take for today's, so a test can play several days in a row.
    std::string today;
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
    // Hidden test hook --autopilot-keys: the autopilot, steering and
    // jumping through the keys held down instead of the mouse.
    bool autopilotKeys = false;
    // Hidden measuring hook --no-culling: draw the whole scene every frame, in
    // tree order and with one lighting program, as the reference the
    // optimised drawing is timed and compared against.
    bool noCulling = false;
    std::string error;

private:
    // Sets the switch called `arg`; false when no switch has that name.
    bool setSwitch(const std::string& arg);
    // Reads the value of the option `arg`; false, with `error` set, when the
    // value is bad or no option takes one under that name.
    bool readValue(const std::string& arg, const char* value);
    bool readText(const char* value, std::string& out, const char* problem);
    template <typename Number>
    bool readNumber(const char* value, long long minimum, long long maximum, Number& out, const std::string& problem);
    bool readPress(const char* value);
    // False, with `error` set, when options that exclude each other were given.
    bool combinationAllowed();
    void applyBenchmarkDefaults();
};
