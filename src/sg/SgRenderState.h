#pragma once

#include "sg/SgEntity.h"

// Group node that switches one OpenGL capability on for its subtree and puts
// the enable state back afterwards.
class SgRenderState : public SgEntity {
public:
    SgRenderState(std::string name, unsigned capability);

    void render(GLRenderer* renderer) override;

    void enable();
    void disable();
    bool isEnabled() const { return enabled; }
    unsigned getCapability() const { return capability; }

protected:
    bool enabled;
    unsigned capability;
};
