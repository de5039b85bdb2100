#pragma once

#include <functional>
#include <string>

#include "profile/ChallengeRecords.h"
#include "profile/DailyRecords.h"
#include "profile/Records.h"
#include "profile/Settings.h"

// The player's own files for this run: settings.cfg in the configuration
// folder, records.tsv, challenges.tsv and daily.tsv in the
// data folder (see UserFolders). A file that
// exists but cannot be read is never saved over, so nothing in it is lost;
// each file says at most once per run that it cannot be saved.

// As in settings.cfg; command-line options change the game, not this.
extern Settings settings;
extern Records records;
extern ChallengeRecords challengeRecords;
extern DailyRecords dailyRecords;

std::string settingsPath();
std::string recordsPath();
std::string challengeRecordsPath();
std::string dailyRecordsPath();

// Reads the four files, saying on standard error what was ignored. A run that
// must not change them (a replay) reads them without `saving`: its changes
// then hold for the run only.
void loadPlayerFiles(bool saving = true);

// Re-reads settings.cfg (a person may have edited it while the game ran),
// lets `change` alter it, keeps the result in `settings` and saves it.
void changeSettings(const std::function<void(Settings&)>& change);

// Counts a won level of `seconds` for the current game setting and saves the
// records; true when it is the best time for that setting.
bool recordWin(const Records::Key& key, double seconds);

// Counts a won challenge of `seconds` on the maze `code` and saves the
// challenge records; returns the code's best time after it.
double recordChallengeWin(const std::string& code, double seconds);

// The daily maze of `date` (YYYY-MM-DD, UTC) is played: the day is counted
// and saved, and the run of consecutive days up to it returned.
int recordDailyPlayed(const std::string& date, const std::string& code);
// Counts a win on that day's maze and saves; returns the day's best time.
double recordDailyWin(const std::string& date, const std::string& code, double seconds);

// `kelvo --records`: prints the best-times tables (or that there are none
// yet), the challenge bests and the daily mazes with the run of days up to
// `today`, and returns the exit code: 1 when a file is there but unreadable.
int printRecords(const std::string& today);
