#include "sg/SgCamera.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "sg/GLRenderer.h"

SgCamera::SgCamera(std::string name_, const Vector3& position_, SgSpatialEntity* target_, bool fixX_, bool fixY_,
                   bool fixZ_, float fovy_, float aspect_, float zNear_, float zFar_, float maxHeight_,
                   float zoomSpeed_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)),
      target(target_),
      fixX(fixX_),
      fixY(fixY_),
      fixZ(fixZ_),
      fovy(fovy_),
      aspect(aspect_),
      zNear(zNear_),
      zFar(zFar_),
      lookAt(0, 0, 0),
      maxHeight(maxHeight_),
      zoomSpeed(zoomSpeed_),
      zoomingIn(false),
      zoomingOut(false) {}

void SgCamera::setPerspective() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

void SgCamera::update(double dt) {
    // Without a target (between levels) the eye and the look-at point stay.
    if (target != nullptr) {
        lookAt = target->position;
        if (!zoomingIn && !zoomingOut) {
            if (!fixX) {
                position.x = target->position.x;
            }
            if (!fixY) {
                position.y = target->position.y + followHeight;
            }
            if (!fixZ) {
                position.z = target->position.z + followDistance;
            }
        }
    }
    const float step = static_cast<float>(dt) * zoomSpeed;
    if (zoomingOut) {
        // Away from the target along the line of sight; parked (not
        // following) once above maxHeight.
        if (position.y <= maxHeight) {
            position += (position - lookAt) * step;
        }
    }
    if (zoomingIn) {
        if (position.y < zoomInFloor) {
            zoomingIn = false;  // following resumes with the next update
        } else {
            position += (lookAt - position) * step;
        }
    }
    SgEntity::update(dt);
}

// Front faces of the 3-D scene are the clockwise ones.
void SgCamera::render(GLRenderer* renderer) {
    glFrontFace(GL_CW);
    renderer->pushMatrix();
    glLoadIdentity();
    gluLookAt(position.x, position.y, position.z, lookAt.x, lookAt.y, lookAt.z, 0, 1, 0);
    SgEntity::render(renderer);
    renderer->popMatrix();
}

void SgCamera::zoomOut() {
    zoomingIn = false;
    zoomingOut = true;
}

void SgCamera::zoomIn() {
    zoomingOut = false;
    zoomingIn = true;
}

void SgCamera::setTarget(SgSpatialEntity* target_) { target = target_; }
