// libFuzzer target: feeds arbitrary bytes to the BMP decoder through an
// in-memory file and checks what a successful decode promises.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "resources/BmpLoader.h"

namespace {
int memoryFile() {
    static const int fd = memfd_create("kelvo-bmp-fuzz", 0);
    return fd;
}

void check(const char* path, bool alpha) {
    BITMAPINFOHEADER header{};
    unsigned char* pixels = loadBMP(path, &header, alpha, 0, 0, 1);
    if (pixels == nullptr) {
        return;
    }
    if (header.biWidth <= 0 || header.biHeight <= 0 || header.biWidth > kMaxBmpSide ||
        header.biHeight > kMaxBmpSide ||
        header.biSizeImage != static_cast<uint32_t>(header.biWidth) * static_cast<uint32_t>(header.biHeight) * 3) {
        abort();
    }
    // Touch every byte of the buffer so AddressSanitizer sees a short one.
    const size_t size = static_cast<size_t>(header.biSizeImage) / 3 * (alpha ? 4 : 3);
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        sum += pixels[i];
    }
    if (alpha) {
        for (size_t i = 3; i < size; i += 4) {
            if (pixels[i] != 0 && pixels[i] != 255) {
                abort();
            }
        }
    }
    delete[] pixels;
    if (sum == 0xFFFFFFFFu) {
        puts("");
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memoryFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        abort();
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    check(path.c_str(), false);
    check(path.c_str(), true);
    return 0;
}
