#pragma once

// Texture coordinate pair, contiguous for glTexCoord2fv.
struct TextureCoord2 {
    float u = 0.0f;
    float v = 0.0f;
};
