#include "platform/Console.h"

#include <fcntl.h>

#if defined(_WIN32)
#include <io.h>
namespace {
const char* const nullDevice = "NUL";
// The Windows C runtime buffers a line-buffered stream fully.
const int keptBuffering = _IONBF;
}  // namespace
#else
#include <unistd.h>
namespace {
const char* const nullDevice = "/dev/null";
const int keptBuffering = _IOLBF;
}  // namespace
#endif

namespace {
FILE* kept = nullptr;
}

bool Console::quietDiagnostics() {
    if (kept != nullptr) {
        return true;
    }
    fflush(stdout);
    const int output = fileno(stdout);
    const int original = dup(output);
    const int nothing = open(nullDevice, O_WRONLY);
    if (original < 0 || nothing < 0 || dup2(nothing, output) < 0) {
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
        dup2(original, output);
        close(original);
        return false;
    }
    setvbuf(kept, nullptr, keptBuffering, 0);
    return true;
}

FILE* Console::messages() { return kept != nullptr ? kept : stdout; }
