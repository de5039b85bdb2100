#include "app/CommandLine.h"

#include <algorithm>

#include "challenge/DailyMaze.h"
#include "gui/GameLimits.h"
#include "platform/NumberText.h"

namespace {
// Column of the help texts in `--help`, after two blanks and the option.
constexpr size_t helpColumn = 16;

std::string range(long long minimum, long long maximum) {
    return std::to_string(minimum) + ".." + std::to_string(maximum);
}

std::string numberFrom(long long minimum, long long maximum) {
    return "a number from " + std::to_string(minimum) + " to " + std::to_string(maximum);
}

// One option's lines of `--help`.
std::string helpLines(const CommandLine::OptionText& option) {
    std::string head = "  " + option.name + (option.argument.empty() ? "" : " " + option.argument);
    head.resize(std::max(head.size() + 1, helpColumn), ' ');
    std::string text;
    size_t start = 0;
    while (start <= option.help.size()) {
        size_t end = option.help.find('\n', start);
        if (end == std::string::npos) {
            end = option.help.size();
        }
        text += (text.empty() ? head : std::string(helpColumn, ' ')) + option.help.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return text;
}
}  // namespace

std::vector<CommandLine::OptionText> CommandLine::options() {
    using L = GameLimits;
    return {
        {"--window", "", "play in a window of the configured size instead of full screen"},
        {"--seed", "N", "seed the random generator with N (replays the same mazes)"},
        {"--frames", "N", "exit after drawing N frames (tests and measurements)"},
        {"--maze", "N",
         "mazes of N x N tiles (" + range(L::minMazeSize, L::maxMazeSize) + "; the options screen offers " +
             range(L::menuMinMazeSize, L::maxMazeSize) + ")"},
        {"--enemies", "N", "swarms of at most N enemies (" + range(L::minEnemies, L::maxEnemies) + ")"},
        {"--autopilot", "", "the ball plays itself: starts games, steers to the goal, continues"},
        {"--benchmark", "",
         "autopilot run with seed " + std::to_string(benchmarkSeed) + " and " + std::to_string(benchmarkFrames) +
             " frames (unless --seed, --frames)\nat one tick per frame, then a timing summary on standard output"},
        {"--fixed-step", "", "every drawn frame runs one tick (1/60 s of game time) whatever\ntime it took: "
                             "as fast as frames can be drawn"},
        {"--challenge", "CODE",
         "play the maze a code names (printed as each level starts) as a\none-level game, "
         "timed against its best time and its par"},
        {"--daily", "", "play the day's maze (the same for everyone on that UTC date) as\na challenge"},
        {"--levels", "N", "with the autopilot: exit after N levels are won or lost"},
        {"--no-record", "", "save no replay of this run"},
        {"--replay", "FILE", "play a recorded run again, checking that it plays out exactly\n(Space pauses, Esc "
                             "leaves); exit code 3 if it does not"},
        {"--fast", "", "with --replay: one tick per drawn frame, as fast as they can be drawn"},
        {"--check-walls", "", "abort if the ball's centre ever ends a tick inside a wall"},
        {"--shaders", "", "per-pixel lighting even on a software renderer (where it is\nslow, so off by default); "
                          "needs OpenGL 2.0"},
        {"--no-shaders", "", "fixed-function lighting for this run, wherever the program\nwould be used"},
        {"--data", "DIR", "use the game data in DIR (a folder called data); overrides KELVO_DATA"},
        {"--quiet", "", "no diagnostic lines (mazes, textures, frame rate) on standard output"},
        {"--records", "", "print the best times of every setting played and exit"},
        {"--version", "", "show the version and exit"},
        {"--help", "", "show this help and exit"},
    };
}

CommandLine::Outcome CommandLine::parse(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return Outcome::ExitSuccess;
        }
        if (arg == "--version") {
            return Outcome::ShowVersion;
        }
        if (setSwitch(arg)) {
            continue;
        }
        if (!readValue(arg, i + 1 < argc ? argv[i + 1] : nullptr)) {
            return Outcome::ExitUsageError;
        }
        ++i;
    }
    autopilot = autopilot || autopilotKeys;
    if (!combinationAllowed()) {
        return Outcome::ExitUsageError;
    }
    if (benchmark) {
        applyBenchmarkDefaults();
    }
    return Outcome::Run;
}

bool CommandLine::setSwitch(const std::string& arg) {
    struct Switch {
        const char* name;
        bool CommandLine::*member;
    };
    static const Switch switches[] = {
        {"--window", &CommandLine::window},          {"--autopilot", &CommandLine::autopilot},
        {"--benchmark", &CommandLine::benchmark},    {"--check-walls", &CommandLine::checkWalls},
        {"--trace-ball", &CommandLine::traceBall},   {"--quiet", &CommandLine::quiet},
        {"--records", &CommandLine::showRecords},    {"--shaders", &CommandLine::forceShaders},
        {"--no-shaders", &CommandLine::noShaders},   {"--fixed-step", &CommandLine::fixedStep},
        {"--no-record", &CommandLine::noRecord},     {"--fast", &CommandLine::fast},
        {"--no-culling", &CommandLine::noCulling},   {"--daily", &CommandLine::daily},
        {"--autopilot-keys", &CommandLine::autopilotKeys},
    };
    for (const Switch& entry : switches) {
        if (arg == entry.name) {
            this->*entry.member = true;
            return true;
        }
    }
    return false;
}

bool CommandLine::readValue(const std::string& arg, const char* value) {
    using L = GameLimits;
    if (arg == "--data") {
        return readText(value, dataFolder, "--data needs a folder");
    }
    if (arg == "--challenge") {
        return readText(value, challenge, "--challenge needs a maze code");
    }
    if (arg == "--today") {
        DailyMaze::Date date;
        if (value == nullptr || !DailyMaze::parse(value, date)) {
            error = "--today needs a date YYYY-MM-DD";
            return false;
        }
        today = value;
        return true;
    }
    if (arg == "--replay") {
        return readText(value, replayFile, "--replay needs a file");
    }
    if (arg == "--seed") {
        if (!readNumber(value, 0, 4294967295LL, seed, "--seed needs " + numberFrom(0, 4294967295LL))) {
            return false;
        }
        seedGiven = true;
        return true;
    }
    if (arg == "--frames") {
        return readNumber(value, 1, 2000000000LL, frames, "--frames needs a positive number");
    }
    if (arg == "--levels") {
        return readNumber(value, 1, 1000000, levels, "--levels needs a positive number");
    }
    if (arg == "--maze") {
        return readNumber(value, L::minMazeSize, L::maxMazeSize, mazeSize,
                          "--maze needs " + numberFrom(L::minMazeSize, L::maxMazeSize));
    }
    if (arg == "--enemies") {
        return readNumber(value, L::minEnemies, L::maxEnemies, enemyCount,
                          "--enemies needs " + numberFrom(L::minEnemies, L::maxEnemies));
    }
    if (arg == "--press") {
        return readPress(value);
    }
    error = "unknown option: " + arg;
    return false;
}

bool CommandLine::readText(const char* value, std::string& out, const char* problem) {
    if (value == nullptr || *value == '\0') {
        error = problem;
        return false;
    }
    out = value;
    return true;
}

template <typename Number>
bool CommandLine::readNumber(const char* value, long long minimum, long long maximum, Number& out,
                             const std::string& problem) {
    if (!wholeNumber(value, minimum, maximum, out)) {
        error = problem;
        return false;
    }
    return true;
}

bool CommandLine::readPress(const char* value) {
    const std::string text = value != nullptr ? value : "";
    const size_t colon = text.find(':');
    long frame = 0;
    unsigned char key = 0;
    if (colon == std::string::npos || !wholeNumber(text.substr(0, colon), 1, 2000000000LL, frame) ||
        !wholeNumber(text.c_str() + colon + 1, 0, 255, key)) {
        error = "--press needs FRAME:KEY (a frame from 1, a key code from 0 to 255)";
        return false;
    }
    presses.push_back({frame, key});
    return true;
}

bool CommandLine::combinationAllowed() {
    if (forceShaders && noShaders) {
        error = "--shaders and --no-shaders ask for opposite lighting";
        return false;
    }
    if (!replayFile.empty() && (noShaders || autopilot || benchmark || seedGiven || frames != 0 || levels != 0 ||
                                mazeSize != 0 || enemyCount != 0 || fixedStep || !presses.empty())) {
        error = "--replay plays the recorded settings and input: besides it only --window, --fast, --data, "
                "--shaders and --check-walls apply";
        return false;
    }
    if (daily && !challenge.empty()) {
        error = "--daily and --challenge each name a maze: give one";
        return false;
    }
    if ((daily || !challenge.empty()) && (!replayFile.empty() || benchmark || seedGiven || mazeSize != 0 || enemyCount != 0)) {
        error = "--challenge and --daily play the maze a code names: --replay, --benchmark, --seed, --maze and "
                "--enemies do not go with them";
        return false;
    }
    if (fast && replayFile.empty()) {
        error = "--fast goes with --replay";
        return false;
    }
    return true;
}

void CommandLine::applyBenchmarkDefaults() {
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

std::string CommandLine::usage(const char* program) {
    std::string text = std::string("Usage: ") + program + " [options]\n"
                       "Roll the ball through the maze to the goal opening; avoid the glowing swarm.\n"
                       "\n"
                       "Options:\n";
    for (const OptionText& option : options()) {
        text += helpLines(option);
    }
    return text +
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
