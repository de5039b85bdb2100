#pragma once

#include "sg/Renderer.h"
#include "sg/Vector3.h"

class SgEntity;

// Draws the tree twice per frame: an opaque pass, then a transparent pass in
// which blended nodes and the 2-D overlay draw. Thin wrappers keep the nodes'
// OpenGL calls in one place.
class GLRenderer : public Renderer {
public:
    GLRenderer();

    void renderScene(SgEntity* root);
    void prepareScene();
    void endScene();

    void pushMatrix();
    void popMatrix();
    void rotate(float angleDegrees, const Vector3& axis) const;
    void translate(const Vector3& v) const;
    void scale(const Vector3& v) const;
    void enable(unsigned cap) const;
    void disable(unsigned cap) const;
    void pushAttrib(unsigned mask) const;
    void popAttrib() const;
    void depthMask(unsigned flag) const;
    void blendFunc(unsigned src, unsigned dst) const;
    void callList(int list) const;
    // No-op unless the lighting program is in use: without it the driver may
    // lack OpenGL 2.0 and with it glUseProgram.
    void useProgram(unsigned program);

    unsigned currentProgram;  // program of the opaque pass, set by the shader node
    bool transparentPass;
    // The maze is lit by the GLSL lighting program (per pixel) rather than by
    // fixed-function lighting; the game sets it from the player's choice.
    bool lightingProgramInUse;
};
