#include "resources/TextureManager.h"

#include <cstdio>
#include <utility>
#include <vector>

#include <GL/glew.h>
#include <GL/glu.h>

namespace {
// Fully transparent pixels keep the key colour (pure blue for the menu art),
// and linear filtering blends a texel's colour into its opaque neighbours at
// every cut-out edge: a blue halo. Give each transparent pixel that touches
// opaque ones their average colour instead; alpha is left as decoded, so
// what is visible does not change.
void bleedColourIntoTransparentEdges(unsigned char* rgba, int width, int height) {
    const std::vector<unsigned char> source(rgba, rgba + static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* pixel = rgba + (static_cast<size_t>(y) * width + x) * 4;
            if (pixel[3] != 0) {
                continue;
            }
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                        continue;
                    }
                    const unsigned char* n = source.data() + (static_cast<size_t>(ny) * width + nx) * 4;
                    if (n[3] != 0) {
                        sum[0] += n[0];
                        sum[1] += n[1];
                        sum[2] += n[2];
                        ++count;
                    }
                }
            }
            if (count > 0) {
                for (int c = 0; c < 3; ++c) {
                    pixel[c] = static_cast<unsigned char>(sum[c] / count);
                }
            }
        }
    }
}
}  // namespace

TextureManager::TextureManager() = default;

TextureManager::~TextureManager() = default;

bool TextureManager::loadAndAddTexture(std::string name, std::string file, bool mipmaps, int maxLevel, bool alpha,
                                       float keyR, float keyG, float keyB) {
    auto texture = std::make_unique<Texture>(std::move(name));
    BITMAPINFOHEADER header{};
    unsigned char* pixels = loadBMP(file.c_str(), &header, alpha, keyR, keyG, keyB);
    if (pixels == nullptr) {
        return false;
    }
    texture->pixels = pixels;
    texture->hasAlpha = alpha;
    texture->width = header.biWidth;
    texture->height = header.biHeight;
    if (alpha) {
        bleedColourIntoTransparentEdges(pixels, texture->width, texture->height);
    }
    texture->bitsPerPixel = header.biBitCount;
    printf("loaded texture: %s, bits: %i, width: %i, height %i\n", file.c_str(), texture->bitsPerPixel,
           texture->width, texture->height);

    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    // Decoded rows are tightly packed, whatever their byte length.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = alpha ? GL_RGBA : GL_RGB;
    const GLint internalFormat = alpha ? GL_COMPRESSED_RGBA : GL_RGB;
    if (mipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, maxLevel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, texture->width, texture->height, 0, format, GL_UNSIGNED_BYTE,
                     texture->pixels);
        if (gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), texture->width, texture->height, format,
                              GL_UNSIGNED_BYTE, texture->pixels) == 0) {
            printf("mipmaps generated successfully\n");
        }
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, texture->width, texture->height, 0, format, GL_UNSIGNED_BYTE,
                     texture->pixels);
    }
    glPopClientAttrib();

    textures.push_back(std::move(texture));
    return true;
}

void TextureManager::addTextureFromBuffer(std::string name, int internalFormat, int width, int height) {
    auto texture = std::make_unique<Texture>(std::move(name));
    glPushAttrib(GL_TEXTURE_BIT);
    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLenum>(internalFormat), 0, 0, width, height, 0);
    glPopAttrib();
    textures.push_back(std::move(texture));
}

unsigned int TextureManager::getTextureId(std::string name) {
    for (const auto& texture : textures) {
        if (texture->name == name) {
            return texture->id;
        }
    }
    return 0;
}

void TextureManager::deleteTexture(std::string name) {
    for (auto it = textures.begin(); it != textures.end(); ++it) {
        if ((*it)->name == name) {
            glDeleteTextures(1, &(*it)->id);
            textures.erase(it);
            return;
        }
    }
}
