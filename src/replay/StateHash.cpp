#include "replay/StateHash.h"

#include <cstdio>
#include <cstring>

#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"

void StateHash::addWord(uint32_t word) {
    // Byte by byte from the low end, so the value is the same on every
    // byte order.
    for (int i = 0; i < 4; ++i) {
        hash ^= (word >> (8 * i)) & 0xffu;
        hash *= 1099511628211ull;
    }
}

void StateHash::addFloat(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    addWord(bits);
}

void StateHash::fold(const SgPlayer& ball, int level, const SgParticleController* swarm) {
    for (const Vector3* v : {&ball.position, &ball.velocity}) {
        addFloat(v->x);
        addFloat(v->y);
        addFloat(v->z);
    }
    addFloat(ball.health);
    addWord(static_cast<uint32_t>(level));
    if (swarm == nullptr) {
        addWord(0);
        return;
    }
    addWord(static_cast<uint32_t>(swarm->getChildren().size()));
    for (const SgEntity* child : swarm->getChildren()) {
        const Vector3& p = static_cast<const SgSpatialEntity*>(child)->position;
        addFloat(p.x);
        addFloat(p.y);
        addFloat(p.z);
    }
}

std::string StateHash::text(uint64_t value) {
    char digits[17];
    snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
    return digits;
}
