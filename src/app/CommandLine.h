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

    bool window = false;
    bool seedGiven = false;
    unsigned seed = 0;
    long frames = 0;
    std::string dataFolder;  // --data: the folder holding the textures, called "data"
    // Hidden test hook --press FRAME:KEY (repeatable): the keyboard callback
    // receives KEY (an ASCII code) just before frame FRAME (from 1) is drawn,
    // so scripts can start a game from the menu without a real keyboard.
    struct KeyPress {
        long frame;
        unsigned char key;
    };
    std::vector<KeyPress> presses;
    std::string error;
};
