#include "resources/PngFile.h"

#include "platform/AtomicFile.h"

#include <png.h>

bool PngFile::write(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba,
                    std::string* error) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        if (error != nullptr) {
            *error = "no picture to save";
        }
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // A negative row stride starts at the last row: the picture comes out
    // upright although the pixels are stored bottom row first.
    const png_int_32 stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), stride, nullptr)) {
        if (error != nullptr) {
            *error = image.message;
        }
        return false;
    }
    std::string encoded(size, '\0');
    if (!png_image_write_to_memory(&image, &encoded[0], &size, 0, rgba.data(), stride, nullptr)) {
        if (error != nullptr) {
            *error = image.message;
        }
        return false;
    }
    encoded.resize(size);
    return AtomicFile::write(path, encoded, error);
}
