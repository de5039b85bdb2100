#pragma once

#include <string>

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
    std::string error;
};
