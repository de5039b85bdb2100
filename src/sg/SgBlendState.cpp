#include "sg/SgBlendState.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

namespace {
// The program bound right now: in the transparent pass that is normally none,
// since the shader node binds its program in the opaque pass only.
unsigned boundProgram(const GLRenderer& renderer) {
    if (!renderer.lightingProgramInUse) {
        return 0;
    }
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<unsigned>(program);
}
}  // namespace

SgBlendState::SgBlendState(std::string name_, bool depthWrite_)
    : SgRenderState(std::move(name_), GL_BLEND),
      srcFactor(GL_SRC_ALPHA),
      dstFactor(GL_ONE_MINUS_SRC_ALPHA),
      depthWrite(depthWrite_) {
    type = SG_BLEND_STATE;
}

void SgBlendState::render(GLRenderer* renderer) {
    if (!enabled) {
        SgEntity::render(renderer);
        return;
    }
    if (!renderer->transparentPass) {
        return;  // left for the transparent pass
    }
    // Blended geometry is drawn with fixed-function lighting. Afterwards the
    // program that was bound before this node is bound again, so the rest of
    // the pass (other blended nodes, the 2-D overlay) is not drawn with the
    // opaque pass's program.
    const unsigned previousProgram = boundProgram(*renderer);
    renderer->useProgram(0);
    // One push for both groups: Mesa 22 fails to restore GL_BLEND when the
    // two groups are pushed separately and popped in turn.
    renderer->pushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer->enable(capability);
    if (!depthWrite) {
        renderer->depthMask(GL_FALSE);
    }
    renderer->blendFunc(srcFactor, dstFactor);
    SgEntity::render(renderer);
    renderer->useProgram(previousProgram);
    renderer->popAttrib();
}

void SgBlendState::setBlendFunc(unsigned src, unsigned dst) {
    srcFactor = src;
    dstFactor = dst;
}
