#pragma once

#include <string>

// Saves a whole file so that a reader, a crash or a full disk never sees a
// half-written one: the contents go to a temporary file in the same folder,
// are flushed to the disk, and only then renamed over the target. On any
// failure the previous file is left exactly as it was and the temporary file
// is removed.
class AtomicFile {
public:
    // False on failure, with `error` (when given) saying what went wrong.
    static bool write(const std::string& path, const std::string& contents, std::string* error = nullptr);
};
