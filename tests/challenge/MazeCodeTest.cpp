#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "challenge/DailyMaze.h"
#include "challenge/MazeCode.h"
#include "challenge/Medal.h"
#include "gui/GameLimits.h"

namespace {
using Part = MazeCode::Part;
using L = GameLimits;

MazeCode code(int size, int enemies, unsigned health, uint32_t seed) {
    MazeCode c;
    c.mazeSize = size;
    c.enemies = enemies;
    c.health = health;
    c.seed = seed;
    return c;
}

Part readPart(const std::string& text, std::string* problem = nullptr) {
    MazeCode out;
    std::string line;
    const Part part = MazeCode::read(text, out, line);
    if (problem != nullptr) {
        *problem = line;
    }
    return part;
}

// The groups given, closed with the check digit that makes them a good code.
std::string sealed(const std::string& body) { return body + "-" + std::to_string(MazeCode::checkDigit(body)); }
}  // namespace

TEST(MazeCode, EveryValueOfEveryPartComesBack) {
    std::vector<MazeCode> codes;
    for (int size = L::minMazeSize; size <= L::maxMazeSize; ++size) {
        codes.push_back(code(size, L::maxEnemies, L::minHealth, 4294967295u));
    }
    for (int enemies = L::minEnemies; enemies <= L::maxEnemies; ++enemies) {
        codes.push_back(code(L::maxMazeSize - enemies % 70, enemies, L::maxHealth, 0));
    }
    for (unsigned health = L::minHealth; health <= L::maxHealth; ++health) {
        codes.push_back(code(L::minMazeSize, L::minEnemies + health % 396, health, health * 2654435761u));
    }
    for (uint64_t seed = 0; seed <= 4294967295u; seed += 9973 * 1031) {
        codes.push_back(code(32, 100, 2000, static_cast<uint32_t>(seed)));
    }
    for (const MazeCode& c : codes) {
        MazeCode back;
        std::string problem;
        ASSERT_EQ(MazeCode::read(c.text(), back, problem), Part::None) << c.text() << ": " << problem;
        ASSERT_TRUE(back == c) << c.text();
    }
    EXPECT_EQ(code(7, 5, 100, 42).text().size(), 26u);
}

TEST(MazeCode, EveryMistypedDigitAndNeighbourSwapIsCaught) {
    for (const MazeCode& c : {code(32, 100, 2000, 123456789), code(80, 400, 5000, 4294967295u), code(3, 5, 100, 0)}) {
        const std::string good = c.text();
        std::vector<size_t> digits;
        for (size_t i = 0; i < good.size(); ++i) {
            if (good[i] != '-') {
                digits.push_back(i);
            }
        }
        for (size_t i : digits) {
            for (char d = '0'; d <= '9'; ++d) {
                std::string typo = good;
                typo[i] = d;
                if (typo != good) {
                    EXPECT_EQ(readPart(typo), Part::CheckDigit) << typo;
                }
            }
        }
        // Neighbours in the digit stream, so a dash between them counts too.
        for (size_t k = 0; k + 1 < digits.size(); ++k) {
            std::string swapped = good;
            std::swap(swapped[digits[k]], swapped[digits[k + 1]]);
            if (swapped != good) {
                EXPECT_EQ(readPart(swapped), Part::CheckDigit) << swapped;
            }
        }
    }
}

TEST(MazeCode, RefusalsNameTheWrongPart) {
    const std::vector<std::pair<std::string, Part>> cases = {
        {sealed("1-02-100-2000-0000000001"), Part::MazeSize},  {sealed("1-81-100-2000-0000000001"), Part::MazeSize},
        {sealed("1-32-004-2000-0000000001"), Part::Enemies},   {sealed("1-32-401-2000-0000000001"), Part::Enemies},
        {sealed("1-32-100-0099-0000000001"), Part::Health},    {sealed("1-32-100-5001-0000000001"), Part::Health},
        {sealed("1-32-100-2000-4294967296"), Part::Seed},      {sealed("2-32-100-2000-0000000001"), Part::Format},
        {sealed("0-32-100-2000-0000000001"), Part::Format},    {sealed("17-32-100-2000-0000000001"), Part::Format},
        {sealed("1-32-100-2000-000000001"), Part::Shape},      {sealed("1-32-100-2000"), Part::Shape},
        {"1-32-100-2000-0000000001-x", Part::Shape},           {"---", Part::Shape},
        {"", Part::Shape},
    };
    for (const auto& [text, part] : cases) {
        std::string problem;
        EXPECT_EQ(readPart(text, &problem), part) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
    std::string problem;
    readPart(sealed("1-81-100-2000-0000000001"), &problem);
    EXPECT_EQ(problem, "maze size 81 is outside 3..80");
    readPart(sealed("2-32-100-2000-0000000001"), &problem);
    EXPECT_EQ(problem, "made for simulation format 2; this build plays format 1");
    EXPECT_TRUE(MazeCode::looksLikeCode("1-2"));
    EXPECT_FALSE(MazeCode::looksLikeCode("run.kelvo-replay"));
}

TEST(Medal, GoldAtParSilverToAQuarterOverBronzeToAHalf) {
    const std::vector<std::pair<double, Medal::Kind>> cases = {
        {3.0, Medal::Kind::Gold},   {20.0, Medal::Kind::Gold},  {20.01, Medal::Kind::Silver},
        {25.0, Medal::Kind::Silver}, {25.01, Medal::Kind::Bronze}, {30.0, Medal::Kind::Bronze},
        {30.01, Medal::Kind::None}};
    for (const auto& [seconds, kind] : cases) {
        EXPECT_EQ(Medal::of(seconds, 20.0), kind) << seconds;
    }
    EXPECT_STREQ(Medal::name(Medal::Kind::Silver), "silver");
}

// The day's maze follows from the date alone: the same date the same maze,
// another date another one, always with the default settings.
TEST(DailyMaze, TheDateAloneChoosesTheMaze) {
    DailyMaze::Date a;
    DailyMaze::Date b;
    ASSERT_TRUE(DailyMaze::parse("2026-12-08", a));
    ASSERT_TRUE(DailyMaze::parse("2026-12-09", b));
    EXPECT_EQ(DailyMaze::codeFor(a).text(), DailyMaze::codeFor(a).text());
    EXPECT_NE(DailyMaze::codeFor(a).seed, DailyMaze::codeFor(b).seed);
    EXPECT_EQ(DailyMaze::codeFor(a).mazeSize, L::defaultMazeSize);
    EXPECT_EQ(DailyMaze::codeFor(a).enemies, L::defaultEnemies);
    EXPECT_EQ(DailyMaze::codeFor(a).health, L::defaultHealth);
    // Fixed for every build and system: a changed derivation changes
    // everyone's daily maze.
    EXPECT_EQ(DailyMaze::codeFor(a).text(), "1-32-100-2000-0931266438-3");
    EXPECT_EQ(DailyMaze::dayNumber(a), 20795);
    EXPECT_EQ(DailyMaze::dayNumber(b) - DailyMaze::dayNumber(a), 1);
    ASSERT_TRUE(DailyMaze::parse("2024-03-01", b));
    ASSERT_TRUE(DailyMaze::parse("2024-02-29", a));
    EXPECT_EQ(DailyMaze::dayNumber(b) - DailyMaze::dayNumber(a), 1);
    for (const char* bad : {"2023-02-29", "2026-13-01", "2026-1-01", "2026-01-01x", "20260101", "2026-0a-01"}) {
        EXPECT_FALSE(DailyMaze::parse(bad, a)) << bad;
    }
    EXPECT_EQ(DailyMaze::text(b), "2024-03-01");
}
