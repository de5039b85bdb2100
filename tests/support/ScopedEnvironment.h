#pragma once

// Sets (or, with a null value, removes) an environment variable for the
// lifetime of the object, then restores what was there. Names and values are
// UTF-8; on Windows they go through the C runtime's wide-character copy of the
// environment, which every DLL of the process reads as well.
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "platform/windows/WideString.h"
#endif

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        const char* old = getenv(name);
        had_ = old != nullptr;
        if (had_) {
            old_ = old;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(had_ ? old_.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const char* value) {
#ifdef _WIN32
        // An empty value removes a variable on Windows; no test needs one that is set but empty.
        _wputenv_s(WideString::fromUtf8(name_).c_str(),
                   value != nullptr ? WideString::fromUtf8(value).c_str() : L"");
#else
        if (value != nullptr) {
            setenv(name_.c_str(), value, 1);
        } else {
            unsetenv(name_.c_str());
        }
#endif
    }

    std::string name_;
    bool had_ = false;
    std::string old_;
};
