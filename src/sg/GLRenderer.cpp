#include "sg/GLRenderer.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "sg/SgEntity.h"

// Built before any window exists; with no current context these calls are
// ignored and init() issues the same state again once the window is open.
GLRenderer::GLRenderer()
    : currentProgram(0), matteProgram(0), transparentPass(false), lightingProgramInUse(false), culling(true) {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
}

void GLRenderer::renderScene(SgEntity* root) {
    prepareScene();
    transparentPass = false;
    root->render(this);
    transparentPass = true;
    root->render(this);
    endScene();
}

void GLRenderer::prepareScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

void GLRenderer::endScene() {
    glFlush();
    if (beforeSwap != nullptr) {
        beforeSwap();
    }
    glutSwapBuffers();
}

void GLRenderer::pushMatrix() { glPushMatrix(); }

void GLRenderer::popMatrix() { glPopMatrix(); }

void GLRenderer::rotate(float angleDegrees, const Vector3& axis) const {
    glRotatef(angleDegrees, axis.x, axis.y, axis.z);
}

void GLRenderer::translate(const Vector3& v) const { glTranslatef(v.x, v.y, v.z); }

void GLRenderer::scale(const Vector3& v) const { glScalef(v.x, v.y, v.z); }

void GLRenderer::enable(unsigned cap) const { glEnable(cap); }

void GLRenderer::disable(unsigned cap) const { glDisable(cap); }

void GLRenderer::pushAttrib(unsigned mask) const { glPushAttrib(mask); }

void GLRenderer::popAttrib() const { glPopAttrib(); }

void GLRenderer::depthMask(unsigned flag) const { glDepthMask(static_cast<GLboolean>(flag)); }

void GLRenderer::blendFunc(unsigned src, unsigned dst) const { glBlendFunc(src, dst); }

void GLRenderer::callList(int list) const { glCallList(static_cast<GLuint>(list)); }

void GLRenderer::useProgram(unsigned program) {
    if (lightingProgramInUse) {
        glUseProgram(program);
    }
}

Frustum GLRenderer::viewFrustum() const {
    GLfloat projection[16];
    GLfloat modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    return Frustum::fromMatrices(projection, modelView);
}
