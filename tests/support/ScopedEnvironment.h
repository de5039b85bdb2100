#pragma once

// Environment variables for tests, on every system. Names and values are
// UTF-8; on Windows they go through the C runtime's wide-character copy of the
// environment, which every DLL of the process reads as well.
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "platform/windows/WideString.h"
#endif

// Sets NAME to VALUE, or removes it when VALUE is null, for the whole process.
inline void setEnvironment(const std::string& name, const char* value) {
#ifdef _WIN32
    // "NAME=" removes a variable on Windows; no test needs one that is set but empty.
    _wputenv(WideString::fromUtf8(name + "=" + (value != nullptr ? value : "")).c_str());
#else
    if (value != nullptr) {
        setenv(name.c_str(), value, 1);
    } else {
        unsetenv(name.c_str());
    }
#endif
}

// Sets (or, with a null value, removes) a variable for the lifetime of the
// object, then restores what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        const char* old = getenv(name);
        had_ = old != nullptr;
        if (had_) {
            old_ = old;
        }
        setEnvironment(name_, value);
    }
    ~ScopedEnvironment() { setEnvironment(name_, had_ ? old_.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};
