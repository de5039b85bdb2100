#include "platform/UserFolders.h"

#include <filesystem>
#include <system_error>

#include "platform/Process.h"
#include "platform/windows/WideString.h"

// The shell's folder API declares GDI types.
#undef NOGDI
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

// On Windows settings, records and replays all live in %APPDATA%\kelvo (the
// roaming application data folder), screenshots in the player's Pictures
// folder. Paths come back in UTF-8 with '/' between folders.
namespace {
std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
        result = WideString::toUtf8Path(path);
    }
    CoTaskMemFree(path);
    return result;
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) {
        path.pop_back();
    }
    return path;
}

std::string kelvoFolderIn(const std::string& base) {
    return base.empty() ? std::string() : withoutTrailingSlashes(base) + "/kelvo";
}

// %APPDATA% when it names an absolute folder (tests and portable setups point
// it elsewhere), else the shell's own answer.
std::string applicationData() {
    std::string variable = Process::environment("APPDATA");
    for (char& c : variable) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!variable.empty() && std::filesystem::u8path(variable).is_absolute()) {
        return variable;
    }
    return knownFolder(FOLDERID_RoamingAppData);
}
}  // namespace

std::string UserFolders::configFolder() { return kelvoFolderIn(applicationData()); }

std::string UserFolders::dataFolder() { return kelvoFolderIn(applicationData()); }

std::string UserFolders::picturesFolder() { return kelvoFolderIn(knownFolder(FOLDERID_Pictures)); }

bool UserFolders::ensureFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::u8path(path);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}
