#include "resources/BmpLoader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// Key channel as the byte value it is compared with: scaled by 255,
// truncated towards zero, low 16 bits kept (so keys outside 0..1 never match).
uint16_t keyByte(float channel) {
    const double scaled = static_cast<double>(channel) * 255.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 2147483647.0) {
        return 0xFFFF;
    }
    return static_cast<uint16_t>(static_cast<int32_t>(scaled));
}

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};

unsigned char* reject(const char* path, const char* reason, long long value) {
    fprintf(stderr, "cannot load BMP %s: %s (%lld)\n", path, reason, value);
    return nullptr;
}
}  // namespace

unsigned char* loadBMP(const char* path, BITMAPINFOHEADER* header, bool alpha, float keyR, float keyG, float keyB) {
    const uint16_t ar = keyByte(keyR);
    const uint16_t ag = keyByte(keyG);
    const uint16_t ab = keyByte(keyB);
    printf("ar: %i, ag: %i, ab %i\n", ar, ag, ab);

    std::unique_ptr<FILE, FileCloser> file(fopen(path, "rb"));
    if (!file) {
        return nullptr;
    }
    unsigned char head[kFileHeaderSize + kInfoHeaderSize];
    const size_t got = fread(head, 1, sizeof head, file.get());
    if (got < 2 || le16(head) != 0x4D42) {
        return nullptr;
    }
    if (got < sizeof head) {
        return reject(path, "file ends inside the headers, bytes", static_cast<long long>(got));
    }
    if (fseek(file.get(), 0, SEEK_END) != 0) {
        return reject(path, "file size unknown", 0);
    }
    const long fileSize = ftell(file.get());
    if (fileSize < 0) {
        return reject(path, "file size unknown", fileSize);
    }

    const unsigned char* info = head + kFileHeaderSize;
    BITMAPINFOHEADER h;
    h.biSize = le32(info);
    h.biWidth = static_cast<int32_t>(le32(info + 4));
    h.biHeight = static_cast<int32_t>(le32(info + 8));
    h.biPlanes = le16(info + 12);
    h.biBitCount = le16(info + 14);
    h.biCompression = le32(info + 16);
    h.biSizeImage = le32(info + 20);
    h.biXPelsPerMeter = static_cast<int32_t>(le32(info + 24));
    h.biYPelsPerMeter = static_cast<int32_t>(le32(info + 28));
    h.biClrUsed = le32(info + 32);
    h.biClrImportant = le32(info + 36);
    const uint64_t dataOffset = le32(head + 10);

    if (h.biBitCount != 24) {
        return reject(path, "only 24 bits per pixel are supported, bit count", h.biBitCount);
    }
    if (h.biCompression != 0) {
        return reject(path, "only uncompressed images are supported, compression", h.biCompression);
    }
    if (h.biWidth <= 0 || h.biWidth > kMaxBmpSide) {
        return reject(path, "width out of range", h.biWidth);
    }
    // A negative height marks rows stored top row first.
    const bool topDown = h.biHeight < 0;
    const int64_t rows = topDown ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    if (rows == 0 || rows > kMaxBmpSide) {
        return reject(path, "height out of range", h.biHeight);
    }
    const uint64_t rowBytes = static_cast<uint64_t>(h.biWidth) * 3;
    const uint64_t imageBytes = rowBytes * static_cast<uint64_t>(rows);
    if (imageBytes > kMaxBmpBytes) {
        return reject(path, "image too large, bytes", static_cast<long long>(imageBytes));
    }
    if (dataOffset >= static_cast<uint64_t>(fileSize)) {
        return reject(path, "pixel data offset past the end of the file", static_cast<long long>(dataOffset));
    }
    // Each stored row is padded to a multiple of four bytes; the padding after
    // the last row may be missing.
    const uint64_t stride = (rowBytes + 3) & ~uint64_t(3);
    const uint64_t storedBytes = stride * static_cast<uint64_t>(rows - 1) + rowBytes;
    if (dataOffset + storedBytes > static_cast<uint64_t>(fileSize)) {
        return reject(path, "file truncated, pixel bytes missing",
                      static_cast<long long>(dataOffset + storedBytes - static_cast<uint64_t>(fileSize)));
    }

    std::unique_ptr<unsigned char[]> stored(new (std::nothrow) unsigned char[storedBytes]);
    if (!stored || fseek(file.get(), static_cast<long>(dataOffset), SEEK_SET) != 0 ||
        fread(stored.get(), 1, storedBytes, file.get()) != storedBytes) {
        return reject(path, "pixel data unreadable", static_cast<long long>(storedBytes));
    }
    file.reset();

    h.biHeight = static_cast<int32_t>(rows);
    h.biSizeImage = static_cast<uint32_t>(imageBytes);
    *header = h;

    const size_t width = static_cast<size_t>(h.biWidth);
    const size_t channels = alpha ? 4 : 3;
    unsigned char* out = new (std::nothrow) unsigned char[width * static_cast<size_t>(rows) * channels];
    if (out == nullptr) {
        return reject(path, "out of memory, bytes", static_cast<long long>(imageBytes));
    }
    for (int64_t y = 0; y < rows; ++y) {
        // Output is bottom row first whichever way the file stores its rows.
        const int64_t sourceRow = topDown ? rows - 1 - y : y;
        const unsigned char* src = stored.get() + static_cast<size_t>(sourceRow) * stride;
        unsigned char* dst = out + static_cast<size_t>(y) * width * channels;
        for (size_t x = 0; x < width; ++x, src += 3, dst += channels) {
            // Stored blue-green-red.
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            if (alpha) {
                dst[3] = (dst[0] == ar && dst[1] == ag && dst[2] == ab) ? 0 : 255;
            }
        }
    }
    return out;
}
