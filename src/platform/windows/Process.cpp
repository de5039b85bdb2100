#include "platform/Process.h"

#include "platform/windows/WideString.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

std::string Process::workingDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) {
        return std::string();
    }
    std::wstring buffer(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, buffer.data());
    buffer.resize(length);
    return WideString::toUtf8Path(buffer);
}

bool Process::changeWorkingDirectory(const std::string& path) {
    return SetCurrentDirectoryW(WideString::fromUtf8(path).c_str()) != 0;
}

std::string Process::executablePath() {
    // GetModuleFileNameW cuts the name to the buffer without saying how long
    // it is: grow until it fits (paths may exceed MAX_PATH).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return WideString::toUtf8Path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string Process::environment(const std::string& name) {
    const std::wstring wideName = WideString::fromUtf8(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return std::string();
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(length);
    return WideString::toUtf8(value);
}

std::vector<std::string> Process::arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count != argc) {
        if (wide != nullptr) {
            LocalFree(wide);
        }
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(WideString::toUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}
