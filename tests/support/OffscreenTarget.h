#pragma once

// Frame-buffer object for tests that read pixels back: the hidden test
// window's own buffers are not guaranteed to keep what was drawn.
#include <vector>

#include <GL/glew.h>

class OffscreenTarget {
public:
    OffscreenTarget(int w, int h) : width(w), height(h) {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
        glGetIntegerv(GL_VIEWPORT, savedViewport);
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &color);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, color);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        glViewport(0, 0, w, h);
    }
    ~OffscreenTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
        glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
        glDeleteRenderbuffers(1, &color);
        glDeleteRenderbuffers(1, &depth);
        glDeleteFramebuffers(1, &fbo);
    }
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    bool complete() const { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

    // RGBA bytes, bottom row first.
    std::vector<unsigned char> readPixels() const {
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    const int width;
    const int height;

private:
    GLint previous = 0;
    GLint savedViewport[4] = {0, 0, 0, 0};
    GLuint fbo = 0;
    GLuint color = 0;
    GLuint depth = 0;
};
