#include "sg/SgRenderState.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgRenderState::SgRenderState(std::string name_, unsigned capability_)
    : SgEntity(std::move(name_)), enabled(true), capability(capability_) {
    type = SG_RENDER_STATE;
}

void SgRenderState::render(GLRenderer* renderer) {
    if (enabled) {
        renderer->pushAttrib(GL_ENABLE_BIT);
        renderer->enable(capability);
    }
    SgEntity::render(renderer);
    if (enabled) {
        renderer->popAttrib();
    }
}

void SgRenderState::enable() { enabled = true; }

void SgRenderState::disable() { enabled = false; }
