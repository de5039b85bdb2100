#include "profile/PlayerFiles.h"

#include <cstdio>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileContents.h"
#include "platform/UserFolders.h"

Settings settings;
Records records;

namespace {
// Per file: whether it may be written, and whether failing to has been said.
struct FileState {
    bool keep = false;  // it exists but could not be read: never replace it
    bool toldCannotSave = false;
};
FileState settingsState;
FileState recordsState;
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
}  // namespace

std::string settingsPath() { return inFolder(UserFolders::configFolder(), "settings.cfg"); }

std::string recordsPath() { return inFolder(UserFolders::dataFolder(), "records.tsv"); }

void loadPlayerFiles(bool saving) {
    filesInUse = false;
    settings = Settings();
    records = Records();
    settingsState = FileState();
    recordsState = FileState();
    std::vector<std::string> problems;
    std::string text;
    const std::string settingsFile = settingsPath();
    if (settingsFile.empty()) {
        fprintf(stderr, "kelvo: no home folder ($HOME is not set): settings and best times are not saved\n");
        settingsState.toldCannotSave = true;
        recordsState.toldCannotSave = true;
        return;
    }
    if (readPlayerFile(settingsFile, Settings::maxFileBytes, settingsState, text, "using the default settings")) {
        settings.parse(text, problems);
        reportProblems(settingsFile, problems);
    }
    problems.clear();
    const std::string recordsFile = recordsPath();
    if (readPlayerFile(recordsFile, Records::maxFileBytes, recordsState, text, "best times are not kept this run")) {
        records.parse(text, problems);
        reportProblems(recordsFile, problems);
    }
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
    if (!filesInUse) {
        return records.add(key, seconds);
    }
    // Another game may have saved a win since this one started.
    const std::string path = recordsPath();
    std::string text;
    if (!path.empty() && readPlayerFile(path, Records::maxFileBytes, recordsState, text, "best times are not kept")) {
        std::vector<std::string> problems;
        records.parse(text, problems);
    }
    const bool best = records.add(key, seconds);
    save(path, UserFolders::dataFolder(), records.serialize(), recordsState, "best times");
    return best;
}

int printRecords() {
    const std::string path = recordsPath();
    if (path.empty()) {
        fprintf(stderr, "kelvo: no home folder ($HOME is not set), so no best times\n");
        return 1;
    }
    std::string text;
    std::string error;
    switch (FileContents::read(path, Records::maxFileBytes, text, error)) {
    case FileContents::Status::Failed:
        fprintf(stderr, "kelvo: %s %s\n", path.c_str(), error.c_str());
        return 1;
    case FileContents::Status::Missing:
        break;
    case FileContents::Status::Read: {
        std::vector<std::string> problems;
        records.parse(text, problems);
        reportProblems(path, problems);
        break;
    }
    }
    if (records.empty()) {
        printf("no best times yet (a won level is recorded in %s)\n", path.c_str());
    } else {
        fputs(records.table().c_str(), stdout);
    }
    return 0;
}
