#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>

namespace {
FILE* kept = nullptr;
}

bool Console::quietDiagnostics() {
    if (kept != nullptr) {
        return true;
    }
    fflush(stdout);
    const int original = _dup(_fileno(stdout));
    const int nothing = _open("NUL", _O_WRONLY);
    if (original < 0 || nothing < 0 || _dup2(nothing, _fileno(stdout)) < 0) {
        if (original >= 0) {
            _close(original);
        }
        if (nothing >= 0) {
            _close(nothing);
        }
        return false;
    }
    _close(nothing);
    kept = _fdopen(original, "w");
    if (kept == nullptr) {
        _dup2(original, _fileno(stdout));
        _close(original);
        return false;
    }
    setvbuf(kept, nullptr, _IONBF, 0);
    return true;
}

FILE* Console::messages() { return kept != nullptr ? kept : stdout; }
