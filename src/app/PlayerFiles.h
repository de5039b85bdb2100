#pragma once

#include <functional>
#include <string>

#include "app/ChallengeRecords.h"
#include "app/Records.h"
#include "app/Settings.h"

// The player's own files for this run: settings.cfg in the configuration
// folder, records.tsv and challenges.tsv in the data folder (see UserFolders). A file that
// exists but cannot be read is never saved over, so nothing in it is lost;
// each file says at most once per run that it cannot be saved.

// As in settings.cfg; command-line options change the game, not this.
extern Settings settings;
extern Records records;
extern ChallengeRecords challengeRecords;

std::string settingsPath();
std::string recordsPath();
std::string challengeRecordsPath();

// Reads the three files, saying on standard error what was ignored. A run that
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

// `kelvo --records`: prints the best-times table (or that there are none
// yet) and returns the exit code: 1 when the file is there but unreadable.
int printRecords();
