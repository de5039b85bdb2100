#include "platform/FileContents.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

FileContents::Status FileContents::read(const std::string& utf8Path, std::uintmax_t maxBytes, std::string& contents,
                                        std::string& error) {
    namespace fs = std::filesystem;
    // u8path: a plain narrow string would be read in Windows' ANSI code page.
    const fs::path path = fs::u8path(utf8Path);
    contents.clear();
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (status.type() == fs::file_type::not_found) {
        return Status::Missing;
    }
    if (code) {
        error = "cannot be read (" + code.message() + ")";
        return Status::Failed;
    }
    if (status.type() == fs::file_type::directory) {
        error = "is a folder, not a file";
        return Status::Failed;
    }
    if (status.type() != fs::file_type::regular) {
        error = "is not a plain file";
        return Status::Failed;
    }
    const std::uintmax_t size = fs::file_size(path, code);
    if (code) {
        error = "cannot be read (" + code.message() + ")";
        return Status::Failed;
    }
    if (size > maxBytes) {
        error = "is " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) +
                " such a file can hold";
        return Status::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened for reading";
        return Status::Failed;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad() || text.str().size() > maxBytes) {
        error = "cannot be read";
        return Status::Failed;
    }
    contents = text.str();
    return Status::Read;
}
