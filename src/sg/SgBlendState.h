#pragma once

#include "sg/SgRenderState.h"

// Draws its subtree blended, and only in the renderer's transparent pass,
// without the shader program. Disabled, it is a plain group drawn in
// whichever pass reaches it.
class SgBlendState : public SgRenderState {
public:
    // Source factor GL_SRC_ALPHA, destination GL_ONE_MINUS_SRC_ALPHA.
    SgBlendState(std::string name, bool depthWrite);

    void render(GLRenderer* renderer) override;

    void setBlendFunc(unsigned src, unsigned dst);
    unsigned getSrcFactor() const { return srcFactor; }
    unsigned getDstFactor() const { return dstFactor; }
    bool writesDepth() const { return depthWrite; }

private:
    unsigned srcFactor;
    unsigned dstFactor;
    bool depthWrite;
};
