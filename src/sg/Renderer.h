#pragma once

// Abstract renderer; GLRenderer is the only one the game uses.
class Renderer {
public:
    Renderer();
    virtual ~Renderer();
};
