#pragma once

#include <string>
#include <vector>

// What the operating system tells the game about its own process. Paths are
// UTF-8 and use '/' between folders on every system (Windows accepts it), so
// the code that searches folders works on plain strings.
class Process {
public:
    // The current folder; "" when it cannot be read.
    static std::string workingDirectory();
    // False when the folder cannot be entered.
    static bool changeWorkingDirectory(const std::string& path);
    // Absolute path of the running executable; "" when unknown.
    static std::string executablePath();
    // The variable's value; "" when it is unset.
    static std::string environment(const std::string& name);
    // The command line's arguments, argv[0] first. Windows hands main() its
    // arguments in the ANSI code page, which cannot spell every file name.
    static std::vector<std::string> arguments(int argc, char** argv);
};
