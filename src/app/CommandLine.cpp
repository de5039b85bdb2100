#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace {
// Whole decimal number in [minimum, maximum]; rejects trailing text.
bool parseNumber(const char* text, long long minimum, long long maximum, long long& out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < minimum || value > maximum) {
        return false;
    }
    out = value;
    return true;
}
}  // namespace

CommandLine::Outcome CommandLine::parse(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long long value = 0;
        if (arg == "--help" || arg == "-h") {
            return Outcome::ExitSuccess;
        } else if (arg == "--version") {
            return Outcome::ShowVersion;
        } else if (arg == "--data") {
            if (next == nullptr || *next == '\0') {
                error = "--data needs a folder";
                return Outcome::ExitUsageError;
            }
            dataFolder = next;
            ++i;
        } else if (arg == "--window") {
            window = true;
        } else if (arg == "--seed") {
            if (!parseNumber(next, 0, 4294967295LL, value)) {
                error = "--seed needs a number from 0 to 4294967295";
                return Outcome::ExitUsageError;
            }
            seedGiven = true;
            seed = static_cast<unsigned>(value);
            ++i;
        } else if (arg == "--frames") {
            if (!parseNumber(next, 1, 2000000000LL, value)) {
                error = "--frames needs a positive number";
                return Outcome::ExitUsageError;
            }
            frames = static_cast<long>(value);
            ++i;
        } else if (arg == "--autopilot") {
            autopilot = true;
        } else if (arg == "--benchmark") {
            benchmark = true;
        } else if (arg == "--check-walls") {
            checkWalls = true;
        } else if (arg == "--trace-ball") {
            traceBall = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--records") {
            showRecords = true;
        } else if (arg == "--shaders") {
            forceShaders = true;
        } else if (arg == "--no-shaders") {
            noShaders = true;
        } else if (arg == "--fixed-step") {
            fixedStep = true;
        } else if (arg == "--no-record") {
            noRecord = true;
        } else if (arg == "--fast") {
            fast = true;
        } else if (arg == "--replay") {
            if (next == nullptr || *next == '\0') {
                error = "--replay needs a file";
                return Outcome::ExitUsageError;
            }
            replayFile = next;
            ++i;
        } else if (arg == "--no-culling") {
            noCulling = true;
        } else if (arg == "--levels") {
            if (!parseNumber(next, 1, 1000000, value)) {
                error = "--levels needs a positive number";
                return Outcome::ExitUsageError;
            }
            levels = static_cast<int>(value);
            ++i;
        } else if (arg == "--maze") {
            if (!parseNumber(next, minMazeSize, maxMazeSize, value)) {
                error = "--maze needs a number from " + std::to_string(minMazeSize) + " to " +
                        std::to_string(maxMazeSize);
                return Outcome::ExitUsageError;
            }
            mazeSize = static_cast<int>(value);
            ++i;
        } else if (arg == "--enemies") {
            if (!parseNumber(next, minEnemies, maxEnemies, value)) {
                error = "--enemies needs a number from " + std::to_string(minEnemies) + " to " +
                        std::to_string(maxEnemies);
                return Outcome::ExitUsageError;
            }
            enemyCount = static_cast<int>(value);
            ++i;
        } else if (arg == "--press") {
            const std::string text = next != nullptr ? next : "";
            const size_t colon = text.find(':');
            long long key = 0;
            if (colon == std::string::npos || !parseNumber(text.substr(0, colon).c_str(), 1, 2000000000LL, value) ||
                !parseNumber(text.c_str() + colon + 1, 0, 255, key)) {
                error = "--press needs FRAME:KEY (a frame from 1, a key code from 0 to 255)";
                return Outcome::ExitUsageError;
            }
            presses.push_back({static_cast<long>(value), static_cast<unsigned char>(key)});
            ++i;
        } else {
            error = "unknown option: " + arg;
            return Outcome::ExitUsageError;
        }
    }
    if (forceShaders && noShaders) {
        error = "--shaders and --no-shaders ask for opposite lighting";
        return Outcome::ExitUsageError;
    }
    if (!replayFile.empty() && (noShaders || autopilot || benchmark || seedGiven || frames != 0 || levels != 0 ||
                                mazeSize != 0 || enemyCount != 0 || fixedStep || !presses.empty())) {
        error = "--replay plays the recorded settings and input: besides it only --window, --fast, --data, "
                "--shaders and --check-walls apply";
        return Outcome::ExitUsageError;
    }
    if (fast && replayFile.empty()) {
        error = "--fast goes with --replay";
        return Outcome::ExitUsageError;
    }
    if (benchmark) {
        fixedStep = true;
        autopilot = true;
        if (!seedGiven) {
            seedGiven = true;
            seed = benchmarkSeed;
        }
        if (frames == 0) {
            frames = benchmarkFrames;
        }
    }
    return Outcome::Run;
}

std::string CommandLine::usage(const char* program) {
    return std::string("Usage: ") + program + " [options]\n"
           "Roll the ball through the maze to the goal opening; avoid the glowing swarm.\n"
           "\n"
           "Options:\n"
           "  --window      play in a window of the configured size instead of full screen\n"
           "  --seed N      seed the random generator with N (replays the same mazes)\n"
           "  --frames N    exit after drawing N frames (tests and measurements)\n"
           "  --maze N      mazes of N x N tiles (3..80; the options screen offers 20..80)\n"
           "  --enemies N   swarms of at most N enemies (5..400)\n"
           "  --autopilot   the ball plays itself: starts games, steers to the goal, continues\n"
           "  --benchmark   autopilot run with seed 1 and 3000 frames (unless --seed, --frames)\n"
           "                and a fixed step, then a timing summary on standard output\n"
           "  --fixed-step  every frame simulates 1/60 s whatever time it took, so a seed\n"
           "                plays out the same on every machine\n"
           "  --levels N    with the autopilot: exit after N levels are won or lost\n"
           "  --no-record   save no replay of this run\n"
           "  --replay FILE play a recorded run again, checking that it plays out exactly\n"
           "                (Space pauses, Esc leaves); exit code 3 if it does not\n"
           "  --fast        with --replay: as fast as frames can be drawn\n"
           "  --check-walls abort if the ball's centre ever ends a frame inside a wall\n"
           "  --shaders     per-pixel lighting even on a software renderer (where it is\n"
           "                slow, so off by default); needs OpenGL 2.0\n"
           "  --no-shaders  fixed-function lighting for this run, wherever the program\n"
           "                would be used\n"
           "  --data DIR    use the game data in DIR (a folder called data); overrides KELVO_DATA\n"
           "  --quiet       no diagnostic lines (mazes, textures, frame rate) on standard output\n"
           "  --records     print the best times of every setting played and exit\n"
           "  --version     show the version and exit\n"
           "  --help        show this help and exit\n"
           "\n"
           "The data folder is looked for in the working directory, beside the program,\n"
           "then in the installed share/kelvo. The screen size is read from kelvo.cfg\n"
           "(resolution 1..6): in the working directory, else $XDG_CONFIG_HOME/kelvo/,\n"
           "else the default beside the data.\n"
           "Every run in which a game is played is saved as a replay in\n"
           "$XDG_DATA_HOME/kelvo/replays (default ~/.local/share/kelvo/replays), the\n"
           "newest 50 kept.\n"

           "Settings: $XDG_CONFIG_HOME/kelvo/settings.cfg (default ~/.config/kelvo/);\n"
           "best times: $XDG_DATA_HOME/kelvo/records.tsv (default ~/.local/share/kelvo/).\n"
           "Command-line options win over the settings file for one run and are not saved.\n";
}
