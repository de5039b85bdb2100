#include "sg/SgTexture.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgTexture::SgTexture(std::string name_, unsigned textureId_, unsigned envMode_)
    : SgEntity(std::move(name_)), enabled(true), textureId(textureId_), envMode(envMode_) {
    type = SG_TEXTURE;
}

void SgTexture::render(GLRenderer* renderer) {
    renderer->pushAttrib(GL_TEXTURE_BIT);
    if (enabled) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(envMode));
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    SgEntity::render(renderer);
    glDisable(GL_TEXTURE_2D);
    renderer->popAttrib();
}
