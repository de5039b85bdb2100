#pragma once

// Decides whether the per-pixel lighting program is used. It needs OpenGL
// 2.0; on a software rasteriser (Mesa's llvmpipe, softpipe, swrast) it also
// costs about twice the frame time of fixed-function lighting, so there
// the game starts with fixed-function lighting unless the player asks for
// the program (--shaders).
class ShaderPolicy {
public:
    static bool isSoftwareRenderer(const char* rendererName);
    static bool useShaders(bool openGL20, const char* rendererName, bool forced);
};
