#pragma once

#include <string>
#include <vector>

// Finds the game's "data" folder and its settings file, so the game starts
// from any working directory: from the source tree, the build tree or an
// installed prefix. Every loader names its files relative to the folder that
// holds "data" ("data/wallTex1.bmp"), so the caller makes that folder the
// working directory once it is chosen.
class DataLocator {
public:
    // Fills the inputs from the running process: the working directory, the
    // executable's path, KELVO_DATA (unless dataOption is given),
    // the folder above the player's settings folder (UserFolders).
    static DataLocator fromProcess(const std::string& dataOption, const std::string& installedRoot);

    // Folders that may hold "data", in the order they are tried: the working
    // directory, the executable's folder and its parent, the executable's
    // ../share/kelvo and ../share/games/kelvo (an installed tree that was
    // moved; the second is Debian's layout for games), the installed root.
    std::vector<std::string> candidateRoots() const;

    // Settings files in the order they are tried; call after locate().
    std::vector<std::string> configCandidates() const;

    // Chooses the data folder and the settings file. False, with `error`
    // holding one line for the user, when no data folder can be used.
    bool locate();

    // One line naming the data folder and settings file in use, or "" when
    // both are the working directory's own.
    std::string announcement() const;

    // Inputs. Paths are absolute; an empty string means unknown or unset.
    std::string workingDirectory;
    std::string executablePath;
    std::string installedRoot;   // <prefix>/share/kelvo
    std::string dataOverride;    // the data folder itself, from --data or KELVO_DATA
    std::string overrideSource;  // "--data" or "KELVO_DATA", for messages
    std::string configHome;      // $XDG_CONFIG_HOME or ~/.config; %APPDATA% on Windows

    // Results of locate().
    std::string root;        // folder holding the chosen data folder
    std::string dataFolder;  // root + "/data"
    std::string configFile;  // "" when no settings file exists
    std::string error;

private:
    bool useOverride();
};
