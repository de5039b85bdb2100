#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Collects the problems found in one of the player's files, one line each,
// up to a screenful: past `limit` lines a last one says that more were left
// out, so a file of garbage costs the player one screen, not thousands.
class ProblemList {
public:
    static constexpr std::size_t limit = 8;

    // Appends to `problems`; `moreLine` is the last line once the limit is reached.
    ProblemList(std::vector<std::string>& problems, std::string moreLine);

    void operator()(const std::string& problem);

private:
    std::vector<std::string>& problems;
    std::size_t first;  // where this file's lines start in `problems`
    std::string moreLine;
};
