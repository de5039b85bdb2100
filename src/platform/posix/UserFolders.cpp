#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>

namespace {
std::string absoluteVariable(const char* name) {
    const char* value = getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::string();
    }
    return value;
}

// The XDG variable when usable, else the fallback below $HOME.
std::string kelvoFolder(const char* variable, const char* belowHome) {
    std::string base = absoluteVariable(variable);
    if (base.empty()) {
        const std::string home = absoluteVariable("HOME");
        if (home.empty()) {
            return std::string();
        }
        base = home + "/" + belowHome;
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base + "/kelvo";
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
}  // namespace

std::string UserFolders::configFolder() { return kelvoFolder("XDG_CONFIG_HOME", ".config"); }

std::string UserFolders::dataFolder() { return kelvoFolder("XDG_DATA_HOME", ".local/share"); }

std::string UserFolders::picturesFolder() { return kelvoFolder("XDG_PICTURES_DIR", "Pictures"); }

bool UserFolders::ensureFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (isFolder(path)) {
        return true;
    }
    // Create each missing level from the top down.
    for (std::string::size_type slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (!level.empty() && mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    return isFolder(path);
}
