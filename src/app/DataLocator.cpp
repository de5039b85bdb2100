#include "app/DataLocator.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/Process.h"
#include "platform/UserFolders.h"

namespace {
const char* const kDataName = "data";
// A searched folder counts as the game's data only when it holds the menu
// picture: a player's unrelated ~/data must not win over the installed data.
const char* const kMarkerFile = "kelvo_menu.bmp";
const char* const kConfigName = "kelvo.cfg";

// Paths are UTF-8 strings; u8path makes Windows open them through its
// wide-character API instead of the ANSI code page.
bool isDirectory(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::u8path(path), error);
}

bool isReadableFile(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) {
        return false;
    }
    return std::ifstream(std::filesystem::u8path(path)).is_open();
}

// The same path with '/' between folders (on Windows '\' becomes '/'; on
// other systems a backslash is part of a name and stays).
std::string withForwardSlashes(const std::string& path) {
    return std::filesystem::u8path(path).generic_u8string();
}

bool isAbsolute(const std::string& path) { return std::filesystem::u8path(path).is_absolute(); }

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

// Lexical parent of an absolute path: "/a/b" -> "/a", "/a" -> "/".
std::string parentOf(const std::string& path) {
    const std::string trimmed = withoutTrailingSlashes(path);
    const size_t slash = trimmed.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : trimmed.substr(0, slash);
}

std::string lastComponent(const std::string& path) {
    const std::string trimmed = withoutTrailingSlashes(path);
    const size_t slash = trimmed.find_last_of('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string canonical(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(std::filesystem::u8path(path), error);
    return error ? std::string() : resolved.generic_u8string();
}

void appendOnce(std::vector<std::string>& list, const std::string& item) {
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}
}  // namespace

DataLocator DataLocator::fromProcess(const std::string& dataOption, const std::string& installedRoot) {
    DataLocator locator;
    locator.workingDirectory = Process::workingDirectory();
    locator.executablePath = Process::executablePath();
    locator.installedRoot = installedRoot;

    // The command line beats the environment; an empty variable counts as unset.
    if (!dataOption.empty()) {
        locator.dataOverride = withForwardSlashes(dataOption);
        locator.overrideSource = "--data";
    } else if (!Process::environment("KELVO_DATA").empty()) {
        locator.dataOverride = withForwardSlashes(Process::environment("KELVO_DATA"));
        locator.overrideSource = "KELVO_DATA";
    }

    // The player's settings folder ("<config home>/kelvo") is the platform's:
    // XDG on Linux, %APPDATA% on Windows.
    const std::string settingsFolder = UserFolders::configFolder();
    if (!settingsFolder.empty()) {
        locator.configHome = parentOf(settingsFolder);
    }
    return locator;
}

std::vector<std::string> DataLocator::candidateRoots() const {
    std::vector<std::string> roots;
    appendOnce(roots, workingDirectory);
    if (!executablePath.empty()) {
        const std::string folder = parentOf(executablePath);
        appendOnce(roots, folder);
        appendOnce(roots, parentOf(folder));
        appendOnce(roots, join(parentOf(folder), "share/kelvo"));
        appendOnce(roots, join(parentOf(folder), "share/games/kelvo"));
    }
    appendOnce(roots, withoutTrailingSlashes(installedRoot));
    return roots;
}

std::vector<std::string> DataLocator::configCandidates() const {
    std::vector<std::string> files;
    if (!workingDirectory.empty()) {
        appendOnce(files, join(workingDirectory, kConfigName));
    }
    if (!configHome.empty()) {
        appendOnce(files, join(join(configHome, "kelvo"), kConfigName));
    }
    // The default that ships beside the data, then the installed one.
    if (!root.empty()) {
        appendOnce(files, join(root, kConfigName));
    }
    if (!installedRoot.empty()) {
        appendOnce(files, join(withoutTrailingSlashes(installedRoot), kConfigName));
    }
    return files;
}

bool DataLocator::useOverride() {
    std::string folder = dataOverride;
    if (!isAbsolute(folder) && !workingDirectory.empty()) {
        folder = join(workingDirectory, folder);
    }
    folder = withoutTrailingSlashes(folder);
    if (!isDirectory(folder)) {
        error = overrideSource + " names " + folder + ", which is not a folder";
        return false;
    }
    // The files are opened as "data/...", so the folder must be reachable
    // under that name: either as given (possibly a link) or once resolved.
    if (lastComponent(folder) == kDataName) {
        root = parentOf(folder);
    } else {
        const std::string resolved = canonical(folder);
        if (lastComponent(resolved) != kDataName) {
            error = overrideSource + " names " + folder + ", but the data folder must be called \"data\"";
            return false;
        }
        root = parentOf(resolved);
    }
    dataFolder = join(root, kDataName);
    return true;
}

bool DataLocator::locate() {
    root.clear();
    dataFolder.clear();
    configFile.clear();
    error.clear();

    if (!dataOverride.empty()) {
        if (!useOverride()) {
            return false;
        }
    } else {
        std::string searched;
        for (const std::string& candidate : candidateRoots()) {
            const std::string folder = join(candidate, kDataName);
            if (isDirectory(folder) && isReadableFile(join(folder, kMarkerFile))) {
                root = candidate;
                dataFolder = folder;
                break;
            }
            searched += (searched.empty() ? "" : ", ") + folder;
        }
        if (root.empty()) {
            error = "no game data found (looked for " + searched +
                    "); name the data folder with --data DIR or KELVO_DATA";
            return false;
        }
    }

    for (const std::string& file : configCandidates()) {
        if (isReadableFile(file)) {
            configFile = file;
            break;
        }
    }
    return true;
}

std::string DataLocator::announcement() const {
    const bool ownData = root == workingDirectory;
    // Without any settings file the game behaves as it always did: no line.
    const bool ownConfig = configFile.empty() || configFile == join(workingDirectory, kConfigName);
    if (ownData && ownConfig) {
        return std::string();
    }
    return "Using data folder " + dataFolder + " and " +
           (configFile.empty() ? std::string("no configuration file (default screen size)")
                               : "configuration " + configFile);
}
