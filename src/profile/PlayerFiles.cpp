#include "profile/PlayerFiles.h"

#include <cstdio>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileContents.h"
#include "platform/UserFolders.h"

Settings settings;
Records records;
ChallengeRecords challengeRecords;
DailyRecords dailyRecords;

namespace {
// Per file: whether it may be written, and whether failing to has been said.
struct FileState {
    bool keep = false;  // it exists but could not be read: never replace it
    bool toldCannotSave = false;
};
FileState settingsState;
FileState recordsState;
FileState challengeState;
FileState dailyState;
// Only a run that read the files writes them (tests build worlds without).
bool filesInUse = false;

std::string inFolder(const std::string& folder, const char* name) {
    return folder.empty() ? std::string() : folder + "/" + name;
}

void reportProblems(const std::string& path, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        fprintf(stderr, "kelvo: %s: %s\n", path.c_str(), problem.c_str());
    }
}

// The file's text, or false when there is none to use; a file that is there
// but unusable is reported and marked to be kept as it is.
bool readPlayerFile(const std::string& path, unsigned long maxBytes, FileState& state, std::string& text,
                    const char* what) {
    std::string error;
    switch (FileContents::read(path, maxBytes, text, error)) {
    case FileContents::Status::Missing:
        return false;
    case FileContents::Status::Failed:
        if (!state.keep) {
            fprintf(stderr, "kelvo: %s %s; %s, and the file is left as it is\n", path.c_str(), error.c_str(), what);
        }
        state.keep = true;
        return false;
    case FileContents::Status::Read:
        state.keep = false;
        return true;
    }
    return false;
}

void save(const std::string& path, const std::string& folder, const std::string& text, FileState& state,
          const char* what) {
    std::string error;
    if (path.empty()) {
        error = "no home folder ($HOME is not set)";
    } else if (state.keep) {
        error = "the file there could not be read and is kept as it is";
    } else if (!UserFolders::ensureFolder(folder)) {
        error = "cannot create " + folder;
    } else if (AtomicFile::write(path, text, &error)) {
        return;
    }
    if (!state.toldCannotSave) {
        fprintf(stderr, "kelvo: cannot save %s%s%s: %s\n", what, path.empty() ? "" : " to ", path.c_str(),
                error.c_str());
        state.toldCannotSave = true;
    }
}
// Reads a file for `kelvo --records`, reporting its bad lines; false when
// it is there but cannot be read.
template <typename Book>
bool readToPrint(const std::string& path, unsigned long maxBytes, Book& book) {
    std::string text;
    std::string error;
    switch (FileContents::read(path, maxBytes, text, error)) {
    case FileContents::Status::Failed:
        fprintf(stderr, "kelvo: %s %s\n", path.c_str(), error.c_str());
        return false;
    case FileContents::Status::Missing:
        return true;
    case FileContents::Status::Read:
        break;
    }
    std::vector<std::string> problems;
    book.parse(text, problems);
    reportProblems(path, problems);
    return true;
}

// Reads one of the player's files into `book` at start-up, each bad line
// reported; `unusable` says what a file that is there but unusable costs.
template <typename Book>
void loadBook(const std::string& path, Book& book, FileState& state, const char* unusable) {
    std::string text;
    if (readPlayerFile(path, Book::maxFileBytes, state, text, unusable)) {
        std::vector<std::string> problems;
        book.parse(text, problems);
        reportProblems(path, problems);
    }
}

// Another game may have saved since this one started: the file is read
// again, `add` counts the new result in `book`, and the whole is saved.
template <typename Book, typename Add>
auto updateBook(const std::string& path, unsigned long maxBytes, Book& book, FileState& state, const char* what,
                Add add) {
    if (!filesInUse) {
        return add();
    }
    std::string text;
    const std::string notKept = std::string(what) + " are not kept";
    if (!path.empty() && readPlayerFile(path, maxBytes, state, text, notKept.c_str())) {
        std::vector<std::string> problems;
        book.parse(text, problems);
    }
    const auto result = add();
    save(path, UserFolders::dataFolder(), book.serialize(), state, what);
    return result;
}
}  // namespace

std::string settingsPath() { return inFolder(UserFolders::configFolder(), "settings.cfg"); }

std::string recordsPath() { return inFolder(UserFolders::dataFolder(), "records.tsv"); }

std::string challengeRecordsPath() { return inFolder(UserFolders::dataFolder(), "challenges.tsv"); }

std::string dailyRecordsPath() { return inFolder(UserFolders::dataFolder(), "daily.tsv"); }

void loadPlayerFiles(bool saving) {
    filesInUse = false;
    settings = Settings();
    records = Records();
    challengeRecords = ChallengeRecords();
    dailyRecords = DailyRecords();
    settingsState = FileState();
    recordsState = FileState();
    challengeState = FileState();
    dailyState = FileState();
    const std::string settingsFile = settingsPath();
    if (settingsFile.empty()) {
        fprintf(stderr, "kelvo: no home folder ($HOME is not set): settings and best times are not saved\n");
        settingsState.toldCannotSave = true;
        recordsState.toldCannotSave = true;
        challengeState.toldCannotSave = true;
        dailyState.toldCannotSave = true;
        return;
    }
    loadBook(settingsFile, settings, settingsState, "using the default settings");
    loadBook(recordsPath(), records, recordsState, "best times are not kept this run");
    loadBook(challengeRecordsPath(), challengeRecords, challengeState, "challenge best times are not kept this run");
    loadBook(dailyRecordsPath(), dailyRecords, dailyState, "daily mazes are not kept this run");
    filesInUse = saving;
}

void changeSettings(const std::function<void(Settings&)>& change) {
    if (!filesInUse) {
        change(settings);
        return;
    }
    const std::string path = settingsPath();
    std::string text;
    if (!path.empty() && readPlayerFile(path, Settings::maxFileBytes, settingsState, text, "using the settings")) {
        std::vector<std::string> problems;
        settings.parse(text, problems);
    }
    change(settings);
    save(path, UserFolders::configFolder(), settings.serialize(), settingsState, "settings");
}

bool recordWin(const Records::Key& key, double seconds) {
    return updateBook(recordsPath(), Records::maxFileBytes, records, recordsState, "best times",
                      [&] { return records.add(key, seconds); });
}

double recordChallengeWin(const std::string& code, double seconds) {
    return updateBook(challengeRecordsPath(), ChallengeRecords::maxFileBytes, challengeRecords, challengeState,
                      "challenge best times", [&] { return challengeRecords.addWin(code, seconds); });
}

int recordDailyPlayed(const std::string& date, const std::string& code) {
    return updateBook(dailyRecordsPath(), DailyRecords::maxFileBytes, dailyRecords, dailyState, "daily mazes", [&] {
        dailyRecords.played(date, code);
        return dailyRecords.run(date);
    });
}

double recordDailyWin(const std::string& date, const std::string& code, double seconds) {
    return updateBook(dailyRecordsPath(), DailyRecords::maxFileBytes, dailyRecords, dailyState, "daily mazes",
                      [&] { return dailyRecords.won(date, code, seconds); });
}

int printRecords(const std::string& today) {
    const std::string path = recordsPath();
    if (path.empty()) {
        fprintf(stderr, "kelvo: no home folder ($HOME is not set), so no best times\n");
        return 1;
    }
    if (!readToPrint(path, Records::maxFileBytes, records) ||
        !readToPrint(challengeRecordsPath(), ChallengeRecords::maxFileBytes, challengeRecords) ||
        !readToPrint(dailyRecordsPath(), DailyRecords::maxFileBytes, dailyRecords)) {
        return 1;
    }
    if (records.empty()) {
        printf("no best times yet (a won level is recorded in %s)\n", path.c_str());
    } else {
        fputs(records.table().c_str(), stdout);
    }
    if (!challengeRecords.empty()) {
        fputs(("\n" + challengeRecords.table()).c_str(), stdout);
    }
    if (!dailyRecords.empty()) {
        fputs(("\n" + dailyRecords.table(today)).c_str(), stdout);
    }
    return 0;
}
