#include "labyrinth/MapRenderTarget.h"

#include <GL/glew.h>

MapRenderTarget::MapRenderTarget(int size)
    : viewport{0, 0, 0, 0},
      readBuffer(GL_BACK),
      previousDraw(0),
      previousRead(0),
      fbo(0),
      colorBuffer(0),
      depthBuffer(0) {
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT);
    if (GLEW_ARB_framebuffer_object || GLEW_VERSION_3_0) {
        bindFramebuffer(size);
    }
    if (fbo == 0) {
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
    }
    glViewport(0, 0, size, size);
}

MapRenderTarget::~MapRenderTarget() {
    if (fbo != 0) {
        releaseFramebuffer();
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glPopAttrib();
    glReadBuffer(static_cast<GLenum>(readBuffer));
}

// Leaves fbo at 0 (and nothing bound or allocated) when the driver cannot
// complete the frame buffer.
void MapRenderTarget::bindFramebuffer(int size) {
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(1, &colorBuffer);
    glGenRenderbuffers(1, &depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    } else {
        releaseFramebuffer();
    }
}

void MapRenderTarget::releaseFramebuffer() {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    glDeleteRenderbuffers(1, &colorBuffer);
    glDeleteRenderbuffers(1, &depthBuffer);
    glDeleteFramebuffers(1, &fbo);
    fbo = 0;
}
