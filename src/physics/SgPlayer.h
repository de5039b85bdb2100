#pragma once

#include <string>

#include "physics/SgPhysEntity.h"

// The player's ball: a physical entity with a horizontal speed limit, health
// and a colour it glows in.
class SgPlayer : public SgPhysEntity {
public:
    SgPlayer(std::string name, const Vector3& position, float reserved, float radius, float maxSpeed,
             const Vector3& color, float initialHealth);

    // Draws the children (the ball's material and mesh) glowing in color.
    void render(GLRenderer* renderer) override;

    float maxSpeed;  // limit on the horizontal speed, units per second
    float health;
    float maxHealth;
    Vector3 color;  // RGBA; w is the alpha
};
