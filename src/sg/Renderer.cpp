#include "sg/Renderer.h"

Renderer::Renderer() = default;

Renderer::~Renderer() = default;
