#pragma once

#include <list>
#include <memory>
#include <string>

#include "resources/BmpLoader.h"
#include "resources/Texture.h"

// Registry of the game's OpenGL textures by name. Names need not be unique:
// look-ups and deletion take the first texture registered under a name.
// Every operation needs the OpenGL context to be current.
class TextureManager {
public:
    TextureManager();
    // Frees the records but leaves the OpenGL texture names alone: the
    // registry outlives the context at program exit.
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Decodes a BMP file and uploads it; false (nothing registered) when the
    // file cannot be decoded. `maxLevel` caps the sampled mipmap levels.
    bool loadAndAddTexture(std::string name, std::string file, bool mipmaps, int maxLevel, bool alpha, float keyR,
                           float keyG, float keyB);
    // Copies the lower-left width x height pixels of the current read buffer.
    void addTextureFromBuffer(std::string name, int internalFormat, int width, int height);
    // OpenGL name of the first texture called `name`, or 0 when there is none.
    unsigned int getTextureId(std::string name);
    // Deletes the first texture called `name`; does nothing when there is none.
    void deleteTexture(std::string name);

private:
    std::list<std::unique_ptr<Texture>> textures;
};
