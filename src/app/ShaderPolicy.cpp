#include "app/ShaderPolicy.h"

#include <cstring>
#include <initializer_list>

bool ShaderPolicy::isSoftwareRenderer(const char* rendererName) {
    if (rendererName == nullptr) {
        return false;
    }
    for (const char* marker : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (strstr(rendererName, marker) != nullptr) {
            return true;
        }
    }
    return false;
}

bool ShaderPolicy::useShaders(bool openGL20, const char* rendererName, bool forced) {
    return openGL20 && (forced || !isSoftwareRenderer(rendererName));
}
