#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {
bool fail(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what + ": " + strerror(errno);
    }
    return false;
}

bool writeAll(int fd, const std::string& contents) {
    const char* next = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        next += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}
}  // namespace

bool AtomicFile::write(const std::string& path, const std::string& contents, std::string* error) {
    // The process id keeps two running games from sharing a temporary file.
    const std::string temporary = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        return fail(error, "cannot create " + temporary);
    }
    if (!writeAll(fd, contents) || fsync(fd) != 0) {
        const int cause = errno;
        close(fd);
        unlink(temporary.c_str());
        errno = cause;
        return fail(error, "cannot write " + temporary);
    }
    if (close(fd) != 0) {
        const int cause = errno;
        unlink(temporary.c_str());
        errno = cause;
        return fail(error, "cannot write " + temporary);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int cause = errno;
        unlink(temporary.c_str());
        errno = cause;
        return fail(error, "cannot replace " + path);
    }
    return true;
}
