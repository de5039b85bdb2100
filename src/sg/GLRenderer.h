#pragma once

#include "sg/Frustum.h"
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
    // The view volume in the frame of the node that asks (GL's current
    // projection and model-view matrices).
    Frustum viewFrustum() const;

    unsigned currentProgram;  // program of the opaque pass, set by the shader node
    // The same lighting without the specular term, for materials that have no
    // specular colour (the picture is the same, each pixel costs less); set
    // with currentProgram, 0 when there is none.
    unsigned matteProgram;
    bool transparentPass;
    // The maze is lit by the GLSL lighting program (per pixel) rather than by
    // fixed-function lighting; the game sets it from the player's choice.
    bool lightingProgramInUse;
    // Drawing only what the camera sees: nodes skip what lies outside the view
    // volume, draw their opaque parts front to back and use the matte program.
    // Off, everything is drawn in tree order with one program: the reference
    // picture the optimised one must equal.
    bool culling;
    // Called with the finished frame still in the back buffer, just before
    // it is shown (screenshots); null when nothing needs it.
    void (*beforeSwap)() = nullptr;
};
