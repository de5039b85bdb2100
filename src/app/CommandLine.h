#pragma once

#include <string>

// Options of the kelvo executable. Everything is off by default, so a plain
// start behaves like the game always has.
class CommandLine {
public:
    enum class Outcome { Run, ExitSuccess, ExitUsageError };

    // Parses argv[1..]; on a usage error `error` names the offending argument.
    Outcome parse(int argc, char** argv);
    static std::string usage(const char* program);

    bool window = false;
    bool seedGiven = false;
    unsigned seed = 0;
    long frames = 0;
    std::string error;
};
