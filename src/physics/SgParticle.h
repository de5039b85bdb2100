#pragma once

#include <string>

#include "physics/SgPhysEntity.h"

// One enemy of the swarm: a small glowing ball whose energy decides its
// strength, its colour and whether it breeds or dies. Its controller is the
// SgParticleController that owns it.
class SgParticle : public SgPhysEntity {
public:
    // The initial velocity draws GameRandom three times (x, y, z): x and z start
    // in [-2s, -s), y in [0, s), with s = speedScale.
    SgParticle(std::string name, const Vector3& position, float reserved, float radius, float speedScale,
               const Vector3& color, float energy);

    // Unlit, in color (alpha included), around the shared billboard child.
    void render(GLRenderer* renderer) override;

    float energy;
    Vector3 color;  // RGBA: red and alpha follow the energy
};
