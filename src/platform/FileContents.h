#pragma once

#include <cstdint>
#include <string>

// Reads a small player file (settings, records) whole, refusing what cannot
// be one: a folder in its place, a file that cannot be opened or read, or one
// larger than the caller's limit (read in full it could exhaust memory).
class FileContents {
public:
    enum class Status {
        Missing,  // nothing there: the caller starts from its defaults
        Read,     // `contents` holds the whole file
        Failed,   // something is there but could not be used; `error` says why
    };

    // `path` is UTF-8.
    static Status read(const std::string& path, std::uintmax_t maxBytes, std::string& contents, std::string& error);
};
