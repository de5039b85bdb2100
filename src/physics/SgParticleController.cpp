#include "physics/SgParticleController.h"

#include <algorithm>
#include <vector>

#include "physics/BoundingSphere.h"
#include "physics/SgParticle.h"
#include "physics/SgParticleMesh.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "platform/GameRandom.h"

SgParticleController::SgParticleController(std::string name_, SgSpatialEntity* target_, int maxParticles_,
                                           int initialCount_, const Vector3& color_, float maxSpeed_,
                                           float maxEnergy_, float particleRadius_, float distanceScale_)
    : SgEntity(std::move(name_)),
      gravity(20.0f),
      epsilon(0.0001f),
      maxSpeed(maxSpeed_),
      maxEnergy(maxEnergy_),
      particleRadius(particleRadius_),
      distanceScale(distanceScale_),
      maxParticles(maxParticles_),
      initialCount(initialCount_),
      color(color_),
      target(target_),
      particleMesh(new SgParticleMesh("particleMesh")),
      swarmCenter(0, 0, 0) {
    type = SG_PARTICLE_CONTROLLER;
    // The swarm starts high above the world origin and falls into the maze.
    for (int i = 0; i < initialCount; ++i) {
        addParticle(Vector3(0, 20, 0));
    }
}

SgParticleController::~SgParticleController() {
    for (SgEntity* child : children) {
        delete child;
    }
    children.clear();
    delete particleMesh;
}

void SgParticleController::addParticle(const Vector3& position) {
    if (static_cast<int>(children.size()) >= maxParticles) {
        return;
    }
    // Two draws, energy first. A ceiling below 2 leaves no room for a random
    // share of energy (and would be a division by zero).
    const int energyRange = static_cast<int>(maxEnergy * 0.5f);
    const int b = GameRandom::next();
    const int a = GameRandom::next();
    const float energyShare = energyRange > 0 ? static_cast<float>(b % energyRange) : 0.0f;
    const float speedScale = maxSpeed / static_cast<float>(a % 100 + 1);
    auto* particle = new SgParticle("particle", position, 1.0f, particleRadius, speedScale, color,
                                    maxEnergy * 0.5f + energyShare);
    particle->addChild(particleMesh);
    addChild(particle);
}

void SgParticleController::update(double dt) {
    const std::size_t count = children.size();
    const float lossPerSqrDistance = maxEnergy / distanceScale;
    SgPlayer* player =
        (target != nullptr && target->getType() == SG_PLAYER) ? static_cast<SgPlayer*>(target) : nullptr;
    std::vector<SgEntity*> dying;
    // Positions, not particles: a particle may both breed and die.
    std::vector<Vector3> birthPlaces;

    // Mean squared distance of each particle to the others, in linear time:
    // around the swarm's mean M, sum over Q of |P - Q|^2 = N |P - M|^2 +
    // sum over Q of |Q - M|^2. Taken about the mean and in double precision,
    // so no large terms cancel, whatever the maze size.
    double meanX = 0.0;
    double meanY = 0.0;
    double meanZ = 0.0;
    for (SgEntity* child : children) {
        const Vector3& q = static_cast<SgParticle*>(child)->position;
        meanX += q.x;
        meanY += q.y;
        meanZ += q.z;
    }
    if (count > 0) {
        meanX /= static_cast<double>(count);
        meanY /= static_cast<double>(count);
        meanZ /= static_cast<double>(count);
    }
    double spread = 0.0;
    for (SgEntity* child : children) {
        const Vector3& q = static_cast<SgParticle*>(child)->position;
        spread += (q.x - meanX) * (q.x - meanX) + (q.y - meanY) * (q.y - meanY) + (q.z - meanZ) * (q.z - meanZ);
    }

    for (SgEntity* child : children) {
        auto* p = static_cast<SgParticle*>(child);
        // A lone particle is not crowded.
        const double dx = p->position.x - meanX;
        const double dy = p->position.y - meanY;
        const double dz = p->position.z - meanZ;
        const double sum = static_cast<double>(count) * (dx * dx + dy * dy + dz * dz) + spread;
        const float crowd = count > 1 ? static_cast<float>(sum / static_cast<double>(count - 1)) : 0.0f;
        p->energy = maxEnergy - lossPerSqrDistance * crowd;
        if (target != nullptr) {
            float nearTarget = maxEnergy - lossPerSqrDistance * p->position.sqrDistance(target->position);
            if (nearTarget < 0.0f) {
                nearTarget = 0.0f;
            }
            p->energy += nearTarget;
        }
        if (p->energy > maxEnergy) {
            p->energy = maxEnergy;
        }
        if (target != nullptr && target->boundingSphere != nullptr &&
            target->boundingSphere->collideWith(p->boundingSphere)) {
            // A spent particle (energy at or below zero) deals no damage
            // rather than healing the player.
            if (player != nullptr && p->energy > 0.0f) {
                player->health -= p->energy;
                if (player->health < 0.0f) {
                    player->health = 0.0f;
                }
            }
            p->energy = 0.0f;
        }
        p->color.w = p->energy / maxEnergy - 0.2f;
        if (p->energy <= 0.1f) {
            dying.push_back(p);
        }
        if (p->energy >= 0.7f * maxEnergy) {
            birthPlaces.push_back(p->position);
        }
        p->color.x = p->energy / maxEnergy;
    }

    for (SgEntity* dead : dying) {
        children.erase(std::find(children.begin(), children.end(), dead));
        delete dead;
    }
    for (const Vector3& place : birthPlaces) {
        addParticle(place);
    }

    // An empty swarm leaves the centre where it was.
    if (children.empty()) {
        return;
    }
    Vector3 sum(0, 0, 0);
    for (SgEntity* child : children) {
        auto* p = static_cast<SgParticle*>(child);
        updateVelocity(p, dt);
        sum += p->position;
    }
    sum /= static_cast<float>(children.size());
    sum.y += 3.0f;
    swarmCenter = sum;
}

void SgParticleController::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    if (fromRoot && parent != nullptr) {
        parent->collideWith(entity, sphere, true);
    }
}

bool SgParticleController::collideAndRespond(SgPhysEntity* entity, BoundingBox* box, bool& contact) {
    return SgPhysController::respond(entity, box, contact, epsilon);
}

void SgParticleController::updatePosition(SgPhysEntity* entity) { SgPhysController::applyMove(entity); }

void SgParticleController::updateVelocity(SgParticle* p, double dt) {
    if (!p->grounded) {
        p->velocity.y -= gravity * 0.5 * dt;
    }
    if (p->grounded) {
        p->velocity.x += dt * (-p->velocity.x * p->friction);
        p->velocity.z += dt * (-p->velocity.z * p->friction);
    }
    // Homing: 2 units/s^2 towards the target. A particle exactly at the
    // target has no direction to home in on.
    if (target != nullptr) {
        Vector3 towards = target->position - p->position;
        if (towards.length() > 0.0f) {
            towards.normalize();
            p->velocity += towards * static_cast<float>(dt) * 2.0f;
        }
    }
    if (p->grounded) {
        p->velocity.y = 0.0f;
    }
    // Strong particles near the floor hop.
    if (p->position.y >= -0.6f && p->position.y <= 0.6f && p->energy > 0.8f * maxEnergy) {
        p->velocity.y += (p->energy / maxEnergy) * (2.0f * maxSpeed);
        p->grounded = false;
    }
    p->velocity.x = std::max(-maxSpeed, std::min(maxSpeed, p->velocity.x));
    p->velocity.z = std::max(-maxSpeed, std::min(maxSpeed, p->velocity.z));
    p->move = p->velocity * static_cast<float>(dt);
}
