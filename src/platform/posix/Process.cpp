#include "platform/Process.h"

#include <climits>
#include <cstdlib>

#include <unistd.h>

std::string Process::workingDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool Process::changeWorkingDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

std::string Process::executablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string Process::environment(const std::string& name) {
    const char* value = getenv(name.c_str());
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<std::string> Process::arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }
