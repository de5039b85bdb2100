#include "app/Challenge.h"

#include <cstdio>

#include "app/Globals.h"
#include "app/LevelSeeds.h"
#include "profile/PlayerFiles.h"
#include "app/Rules.h"
#include "challenge/DailyMaze.h"
#include "challenge/Medal.h"
#include "platform/Console.h"
#include "platform/PerformanceCounter.h"

namespace {
bool inPlay = false;
MazeCode challenge;
bool parKnown = false;
double par = 0.0;  // seconds
std::string dailyDate;  // empty unless the daily maze is played
// The player's own settings, back once the challenge is left.
int ownMazeSize = 0;
int ownEnemies = 0;
unsigned ownHealth = 0;

// The lines a challenge's player asked for: shown even by a quiet run.
void say(const std::string& line) {
    FILE* out = Console::messages();
    fprintf(out, "%s\n", line.c_str());
    fflush(out);
}

std::string secondsText(double seconds) {
    char text[32];
    snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}
}  // namespace

void prepareChallenge(const MazeCode& code) {
    challenge = code;
    ownMazeSize = curLevelSize;
    ownEnemies = curEnemyCount;
    ownHealth = curPlayerHealth;
    curLevelSize = code.mazeSize;
    curEnemyCount = code.enemies;
    curPlayerHealth = code.health;
    LevelSeeds::playNext(code.seed);
}

void prepareDailyChallenge(const std::string& date) {
    DailyMaze::Date day;
    DailyMaze::parse(date, day);
    prepareChallenge(DailyMaze::codeFor(day));
    dailyDate = date;
}

void startChallenge(ParMeasure measurePar) {
    const int64_t begun = PerformanceCounter::now();
    parKnown = measurePar(challenge, par);
    const double took = static_cast<double>(PerformanceCounter::now() - begun) /
                        static_cast<double>(PerformanceCounter::frequency());
    if (parKnown) {
        printf("par: %.2f s, the autopilot's time, worked out in %.2f s\n", par, took);
    } else {
        printf("par: none, the autopilot does not win this maze (worked out in %.2f s)\n", took);
    }
    if (!dailyDate.empty()) {
        const int run = recordDailyPlayed(dailyDate, challenge.text());
        say("daily maze: " + dailyDate + ", day " + std::to_string(run) + " in a row");
    }
    say("challenge: " + challenge.text());
    inPlay = true;
    mainMenuOnGameStart();
}

bool challengeInPlay() { return inPlay; }

double challengeWon(double seconds) {
    const std::string code = challenge.text();
    const double best = recordChallengeWin(code, seconds);
    if (!dailyDate.empty()) {
        recordDailyWin(dailyDate, code, seconds);
    }
    const std::string against = parKnown ? "par " + secondsText(par) + ", medal " + Medal::name(Medal::of(seconds, par))
                                         : std::string("par none, medal none");
    say("challenge won: " + code + " time " + secondsText(seconds) + " (best " + secondsText(best) + ", " + against +
        ")");
    return best;
}

void challengeLost() { say("challenge lost: " + challenge.text()); }

void endChallenge() {
    if (!inPlay) {
        return;
    }
    inPlay = false;
    dailyDate.clear();
    curLevelSize = ownMazeSize;
    curEnemyCount = ownEnemies;
    curPlayerHealth = ownHealth;
}
