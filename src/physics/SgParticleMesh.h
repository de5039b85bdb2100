#pragma once

#include <string>

#include "sg/SgSpatialEntity.h"

// The one billboard all particles share: a textured quad of half-size 0.8
// that always faces the camera.
class SgParticleMesh : public SgSpatialEntity {
public:
    explicit SgParticleMesh(std::string name);

    void render(GLRenderer* renderer) override;
};
