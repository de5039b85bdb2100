#pragma once

#include <string>

// Where a player's own files live. On Linux these follow the XDG base
// directories: $XDG_CONFIG_HOME/kelvo (default ~/.config/kelvo) for settings,
// $XDG_DATA_HOME/kelvo (default ~/.local/share/kelvo) for records and
// replays, $XDG_PICTURES_DIR/kelvo (default ~/Pictures/kelvo) for
// screenshots. A variable that is unset, empty or not an absolute path is
// ignored, as the XDG rules ask. On Windows settings, records and replays
// share %APPDATA%\kelvo and screenshots go to Pictures\kelvo. Paths are
// UTF-8 with '/' between folders. An empty result means there is no home to
// save into (no $HOME either): the caller plays on without saving.
class UserFolders {
public:
    static std::string configFolder();
    static std::string dataFolder();
    static std::string picturesFolder();

    // Creates the folder and any missing parents (mode 0700 for new ones);
    // true when it exists as a folder afterwards.
    static bool ensureFolder(const std::string& path);
};
