#include "resources/Texture.h"

#include <utility>

Texture::Texture(std::string name) : name(std::move(name)) {}

Texture::~Texture() { delete[] pixels; }
