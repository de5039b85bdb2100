#pragma once

#include <string>

#include "sg/SgEntity.h"
#include "sg/SgSpatialEntity.h"

class BoundingBox;
class SgParticle;
class SgParticleMesh;
class SgPhysEntity;

// Owns and drives the enemy swarm. Its children are its particles (only
// addParticle adds children; the controller destroys them), and it is their
// physics controller: velocity integration, wall response, position update.
// Its update runs the energy, damage, breeding and dying rules and does not
// pass the update down.
class SgParticleController : public SgEntity {
public:
    SgParticleController(std::string name, SgSpatialEntity* target, int maxParticles, int initialCount,
                         const Vector3& color, float maxSpeed, float maxEnergy, float particleRadius,
                         float distanceScale);
    ~SgParticleController() override;
    SgParticleController(const SgParticleController&) = delete;
    SgParticleController& operator=(const SgParticleController&) = delete;

    // Adds one particle at position unless the swarm already has maxParticles.
    void addParticle(const Vector3& position);

    void update(double dt) override;
    // Passes queries up towards the root; particles are not tested against
    // one another.
    void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) override;

    bool collideAndRespond(SgPhysEntity* entity, BoundingBox* box, bool& contact);
    void updateVelocity(SgParticle* particle, double dt);
    void updatePosition(SgPhysEntity* entity);

    float gravity;
    float epsilon;
    float maxSpeed;        // limit on each horizontal velocity component
    float maxEnergy;       // ceiling of a particle's energy
    float particleRadius;
    float distanceScale;   // squared distance over which energy falls by maxEnergy
    int maxParticles;
    int initialCount;
    Vector3 color;         // colour of new particles
    SgSpatialEntity* target;  // the player; not owned
    SgParticleMesh* particleMesh;  // the shared billboard; owned
    // Mean particle position raised by 3; its address stays valid for the
    // controller's lifetime (a light follows it).
    Vector3 swarmCenter;
};
