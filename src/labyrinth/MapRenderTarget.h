#pragma once

// An off-screen square colour and depth target for drawing the maze map, in
// force for the object's lifetime. It is a frame-buffer object where the
// driver has them (auxiliary buffers are rare) and otherwise the back buffer,
// drawn before the frame is. The viewport covers the target; the viewport,
// the read buffer, the frame-buffer bindings and the enable, current,
// polygon and colour-buffer state are put back as found when it goes.
class MapRenderTarget {
public:
    explicit MapRenderTarget(int size);
    ~MapRenderTarget();
    MapRenderTarget(const MapRenderTarget&) = delete;
    MapRenderTarget& operator=(const MapRenderTarget&) = delete;

private:
    void bindFramebuffer(int size);
    void releaseFramebuffer();

    int viewport[4];
    int readBuffer;
    int previousDraw;
    int previousRead;
    unsigned fbo;
    unsigned colorBuffer;
    unsigned depthBuffer;
};
