#pragma once

#include <cstdint>

// The 40-byte BMP info header exactly as it lies in the file (little-endian,
// no padding). Only width, height, bit count and compression are read from the
// file; biSizeImage is rewritten by loadBMP to the size of the decoded image.
#pragma pack(push, 1)
struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BMP info header must be 40 bytes");

// Largest accepted width or height, in pixels.
constexpr int32_t kMaxBmpSide = 16384;
// Largest accepted decoded RGB image, in bytes.
constexpr uint64_t kMaxBmpBytes = uint64_t(256) << 20;

// Decodes an uncompressed 24-bit BMP file into a new[]-allocated buffer of
// tightly packed pixels, bottom row first: RGB, or RGBA when `alpha` is set
// (alpha 0 exactly where the pixel equals the key colour, 255 elsewhere).
// Rows padded to four bytes and top-down files are accepted; on return
// `header` holds a positive height and biSizeImage = width * height * 3.
// Returns null for a missing file or one that does not start with "BM"
// (silently) and for a malformed or unsupported file (one line on standard
// error). Always prints the key line on standard output first. Needs no
// OpenGL context.
unsigned char* loadBMP(const char* path, BITMAPINFOHEADER* header, bool alpha, float keyR, float keyG, float keyB);
