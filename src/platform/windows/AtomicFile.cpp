#include "platform/AtomicFile.h"

#include "platform/windows/WideString.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {
// "what: the system's reason", the reason in the system's language.
bool fail(std::string* error, const std::string& what, DWORD code) {
    if (error != nullptr) {
        LPWSTR text = nullptr;
        const DWORD length = FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
            0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        std::string reason = length > 0 ? WideString::toUtf8(std::wstring(text, length)) : std::string();
        LocalFree(text);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
            reason.pop_back();
        }
        *error = what + ": " + (reason.empty() ? "error " + std::to_string(code) : reason);
    }
    return false;
}

bool writeAll(HANDLE file, const std::string& contents) {
    const char* next = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, next, chunk, &written, nullptr)) {
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}
}  // namespace

bool AtomicFile::write(const std::string& path, const std::string& contents, std::string* error) {
    // The process id keeps two running games from sharing a temporary file.
    const std::string temporary = path + ".tmp" + std::to_string(GetCurrentProcessId());
    const std::wstring wideTemporary = WideString::fromUtf8(temporary);
    HANDLE file =
        CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return fail(error, "cannot create " + temporary, GetLastError());
    }
    if (!writeAll(file, contents) || !FlushFileBuffers(file)) {
        const DWORD cause = GetLastError();
        CloseHandle(file);
        DeleteFileW(wideTemporary.c_str());
        return fail(error, "cannot write " + temporary, cause);
    }
    if (!CloseHandle(file)) {
        const DWORD cause = GetLastError();
        DeleteFileW(wideTemporary.c_str());
        return fail(error, "cannot write " + temporary, cause);
    }
    // Replaces the old file in one step; write-through returns only once the
    // new name is on the disk.
    if (!MoveFileExW(wideTemporary.c_str(), WideString::fromUtf8(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD cause = GetLastError();
        DeleteFileW(wideTemporary.c_str());
        return fail(error, "cannot replace " + path, cause);
    }
    return true;
}
