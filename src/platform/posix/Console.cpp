#include "platform/Console.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
FILE* kept = nullptr;
}

bool Console::quietDiagnostics() {
    if (kept != nullptr) {
        return true;
    }
    fflush(stdout);
    const int original = dup(STDOUT_FILENO);
    const int nothing = open("/dev/null", O_WRONLY);
    if (original < 0 || nothing < 0 || dup2(nothing, STDOUT_FILENO) < 0) {
        if (original >= 0) {
            close(original);
        }
        if (nothing >= 0) {
            close(nothing);
        }
        return false;
    }
    close(nothing);
    kept = fdopen(original, "w");
    if (kept == nullptr) {
        dup2(original, STDOUT_FILENO);
        close(original);
        return false;
    }
    setvbuf(kept, nullptr, _IOLBF, 0);
    return true;
}

FILE* Console::messages() { return kept != nullptr ? kept : stdout; }
