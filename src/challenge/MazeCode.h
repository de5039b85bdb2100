#pragma once

#include <cstdint>
#include <string>

// A short text that names one maze exactly: the settings a level is built
// with and the seed its maze and swarm are drawn from. Digits and dashes only,
// in groups FORMAT-SIZE-ENEMIES-HEALTH-SEED-CHECK with fixed widths
// (1-32-100-2000-0123456789-8), so a code reads the same wherever it is shown
// and one typed from another screen can be checked before it is played.
// The last digit is a Damm check digit over all the others: every single
// mistyped digit and every swap of two neighbouring digits, a dash between
// them or not, is caught.
class MazeCode {
public:
    // The simulation format: which rules of play and generation a seed is
    // played by. It changes only when the same seed and settings would build
    // another maze or play out differently, so codes outlive releases that
    // leave the simulation alone.
    static constexpr int simulationFormat = 1;

    // What a text that is refused got wrong; None for a good code.
    enum class Part { None, Shape, CheckDigit, Format, MazeSize, Enemies, Health, Seed };

    int mazeSize = 0;     // tiles per side
    int enemies = 0;      // the most enemies the swarm grows to
    unsigned health = 0;  // the ball's health when the level starts
    uint32_t seed = 0;    // GameRandom's seed for the level

    // The code in its written form, check digit included.
    std::string text() const;

    // Reads `code` into `out` (written only for a good code). On a refusal,
    // `problem` is one line that names the wrong part.
    static Part read(const std::string& code, MazeCode& out, std::string& problem);

    // Whether `argument` is made of digits and dashes only (at least one
    // digit): such an argument is meant as a code, anything else is not.
    static bool looksLikeCode(const std::string& argument);

    // The Damm check digit of the digits in `text` (other characters skipped).
    static int checkDigit(const std::string& text);

    bool operator==(const MazeCode& other) const {
        return mazeSize == other.mazeSize && enemies == other.enemies && health == other.health &&
               seed == other.seed;
    }
};
