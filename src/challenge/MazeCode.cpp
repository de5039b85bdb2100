#include "challenge/MazeCode.h"

#include <cstdio>
#include <vector>

#include "gui/GameLimits.h"

namespace {
// A totally anti-symmetric quasigroup of order 10: the Damm table.
constexpr unsigned char damm[10][10] = {
    {0, 3, 1, 7, 5, 9, 8, 6, 4, 2}, {7, 0, 9, 2, 1, 5, 4, 8, 6, 3}, {4, 2, 0, 6, 8, 7, 1, 3, 5, 9},
    {1, 7, 5, 0, 9, 8, 3, 4, 2, 6}, {6, 1, 2, 3, 0, 4, 5, 9, 7, 8}, {3, 6, 7, 4, 2, 0, 9, 5, 8, 1},
    {5, 8, 6, 9, 7, 2, 0, 1, 3, 4}, {8, 9, 4, 5, 3, 6, 2, 0, 1, 7}, {9, 4, 3, 8, 6, 1, 7, 2, 0, 5},
    {2, 5, 8, 1, 4, 3, 6, 7, 9, 0}};

// Digits in each group of a code of the current format, the check digit last.
constexpr size_t groupWidths[] = {1, 2, 3, 4, 10, 1};
constexpr size_t groupCount = sizeof(groupWidths) / sizeof(groupWidths[0]);
constexpr long long largestSeed = 4294967295LL;

std::vector<std::string> groupsOf(const std::string& code) {
    std::vector<std::string> groups(1);
    for (char c : code) {
        if (c == '-') {
            groups.emplace_back();
        } else {
            groups.back() += c;
        }
    }
    return groups;
}

long long valueOf(const std::string& digits) {
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

bool hasShape(const std::vector<std::string>& groups) {
    if (groups.size() != groupCount) {
        return false;
    }
    for (size_t i = 0; i < groupCount; ++i) {
        if (groups[i].size() != groupWidths[i]) {
            return false;
        }
    }
    return true;
}

// Sets `problem` and returns true when `value` lies outside [minimum, maximum].
bool outside(long long value, long long minimum, long long maximum, const char* name, std::string& problem) {
    if (value >= minimum && value <= maximum) {
        return false;
    }
    problem = std::string(name) + " " + std::to_string(value) + " is outside " + std::to_string(minimum) + ".." +
              std::to_string(maximum);
    return true;
}
}  // namespace

int MazeCode::checkDigit(const std::string& text) {
    int interim = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            interim = damm[interim][c - '0'];
        }
    }
    return interim;
}

bool MazeCode::looksLikeCode(const std::string& argument) {
    bool digit = false;
    for (char c : argument) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '-') {
            return false;
        }
    }
    return digit;
}

std::string MazeCode::text() const {
    char body[40];
    snprintf(body, sizeof body, "%d-%02d-%03d-%04u-%010lu", simulationFormat, mazeSize, enemies, health,
             static_cast<unsigned long>(seed));
    return std::string(body) + "-" + std::to_string(checkDigit(body));
}

MazeCode::Part MazeCode::read(const std::string& code, MazeCode& out, std::string& problem) {
    using L = GameLimits;
    if (!looksLikeCode(code)) {
        problem = "a maze code has digits and dashes only";
        return Part::Shape;
    }
    // A check digit that does not fit is a typing error whatever the format.
    if (checkDigit(code) != 0) {
        problem = "bad check digit: a digit is mistyped or two are swapped";
        return Part::CheckDigit;
    }
    const std::vector<std::string> groups = groupsOf(code);
    if (groups[0].empty() || groups[0].size() > 3 || valueOf(groups[0]) != simulationFormat) {
        problem = "made for simulation format " + groups[0] + "; this build plays format " +
                  std::to_string(simulationFormat);
        return Part::Format;
    }
    if (!hasShape(groups)) {
        problem = "a maze code has the groups F-SS-EEE-HHHH-NNNNNNNNNN-C";
        return Part::Shape;
    }
    const long long size = valueOf(groups[1]);
    const long long enemies = valueOf(groups[2]);
    const long long health = valueOf(groups[3]);
    const long long seed = valueOf(groups[4]);
    if (outside(size, L::minMazeSize, L::maxMazeSize, "maze size", problem)) {
        return Part::MazeSize;
    }
    if (outside(enemies, L::minEnemies, L::maxEnemies, "enemy count", problem)) {
        return Part::Enemies;
    }
    if (outside(health, L::minHealth, L::maxHealth, "starting health", problem)) {
        return Part::Health;
    }
    if (outside(seed, 0, largestSeed, "level seed", problem)) {
        return Part::Seed;
    }
    out.mazeSize = static_cast<int>(size);
    out.enemies = static_cast<int>(enemies);
    out.health = static_cast<unsigned>(health);
    out.seed = static_cast<uint32_t>(seed);
    return Part::None;
}
