#include "app/TickBlend.h"

#include "app/Globals.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "sg/SgCamera.h"
#include "sg/SgLightSource.h"

namespace {
// The nodes whose position a tick may move, other than the camera.
template <typename Visit>
void eachMover(Visit visit) {
    for (SgSpatialEntity* node : {static_cast<SgSpatialEntity*>(player), static_cast<SgSpatialEntity*>(l1),
                                  static_cast<SgSpatialEntity*>(l3)}) {
        if (node != nullptr) {
            visit(node);
        }
    }
    if (particleController != nullptr) {
        // Only particles hang under the controller.
        for (SgEntity* particle : particleController->getChildren()) {
            visit(static_cast<SgSpatialEntity*>(particle));
        }
    }
}
}  // namespace

void TickBlend::beforeTick() {
    eachMover([](SgSpatialEntity* node) { node->markTick(); });
    if (camera == nullptr) {
        return;
    }
    // A camera that stops zooming snaps back behind the ball in the tick
    // after: that jump is not drawn as a glide.
    const bool following = !camera->isZoomingIn() && !camera->isZoomingOut();
    if (following && !cameraFollowing) {
        camera->forgetTick();
        lookAtKnown = false;
    } else {
        camera->markTick();
        lookAtBefore = camera->getLookAt();
        lookAtKnown = true;
    }
    cameraFollowing = following;
}

void TickBlend::forget() {
    for (SgSpatialEntity* node : {static_cast<SgSpatialEntity*>(camera), static_cast<SgSpatialEntity*>(l1),
                                  static_cast<SgSpatialEntity*>(l3)}) {
        if (node != nullptr) {
            node->forgetTick();
        }
    }
    lookAtKnown = false;
}

void TickBlend::place(SgSpatialEntity* node, float fraction) {
    placed.push_back({node, node->position});
    node->position = node->tickBlend(fraction);
}

void TickBlend::draw(double fraction, void (*drawScene)()) {
    const float f = static_cast<float>(fraction);
    placed.clear();
    eachMover([this, f](SgSpatialEntity* node) { place(node, f); });
    Vector3 lookAt;
    if (camera != nullptr) {
        place(camera, f);
        lookAt = camera->getLookAt();
        if (lookAtKnown) {
            camera->setLookAt(lookAtBefore + (lookAt - lookAtBefore) * f);
        }
    }
    drawScene();
    for (const Placed& p : placed) {
        p.node->position = p.position;
    }
    if (camera != nullptr) {
        camera->setLookAt(lookAt);
    }
}
