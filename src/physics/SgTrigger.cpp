#include "physics/SgTrigger.h"

#include "physics/SgPhysEntity.h"

SgTrigger::SgTrigger(std::string name_, const Vector3& position_, const Vector3& minCorner,
                     const Vector3& maxCorner, void (*callback_)(), kelvoSgType triggerType_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)),
      box(minCorner, maxCorner),
      callback(callback_),
      triggerType(triggerType_) {}

void SgTrigger::collideWith(SgPhysEntity* entity, BoundingSphere*, bool) {
    if (entity == nullptr || entity->getType() != triggerType || entity->boundingSphere == nullptr) {
        return;
    }
    if (box.collideWith(entity->boundingSphere) && callback != nullptr) {
        callback();
    }
}
