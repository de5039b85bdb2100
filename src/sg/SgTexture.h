#pragma once

#include "sg/SgEntity.h"

// Binds a 2-D texture for its subtree. Texturing is always switched off again
// behind the subtree so it never reaches later siblings.
class SgTexture : public SgEntity {
public:
    // textureId is an OpenGL texture name (0 draws with the default texture);
    // envMode is the GL_TEXTURE_ENV_MODE value, e.g. GL_MODULATE.
    SgTexture(std::string name, unsigned textureId, unsigned envMode);

    void render(GLRenderer* renderer) override;

    unsigned getTextureId() const { return textureId; }
    unsigned getEnvMode() const { return envMode; }

    // False draws the subtree untextured; the labyrinth switches it per pass.
    bool enabled;

private:
    unsigned textureId;
    unsigned envMode;
};
