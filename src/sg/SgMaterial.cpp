#include "sg/SgMaterial.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgMaterial::SgMaterial(std::string name_, float ambientR, float ambientG, float ambientB, float ambientA,
                       float diffuseR, float diffuseG, float diffuseB, float diffuseA, float specularR,
                       float specularG, float specularB, float specularA, float shininess_, float emissionR,
                       float emissionG, float emissionB, float emissionA, unsigned face_)
    : SgEntity(std::move(name_)),
      bypass(false),
      displayList(0),
      ambient{ambientR, ambientG, ambientB, ambientA},
      diffuse{diffuseR, diffuseG, diffuseB, diffuseA},
      specular{specularR, specularG, specularB, specularA},
      shininess(shininess_),
      emission{emissionR, emissionG, emissionB, emissionA},
      compiled(false),
      face(face_) {
    type = SG_MATERIAL;
}

SgMaterial::~SgMaterial() {
    if (compiled) {
        glDeleteLists(displayList, 1);
    }
}

void SgMaterial::applyMaterial() const {
    glMaterialfv(face, GL_AMBIENT, ambient);
    glMaterialfv(face, GL_DIFFUSE, diffuse);
    glMaterialfv(face, GL_SPECULAR, specular);
    glMaterialfv(face, GL_SHININESS, &shininess);
    glMaterialfv(face, GL_EMISSION, emission);
}

void SgMaterial::compile() {
    if (compiled) {
        return;
    }
    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    applyMaterial();
    glEndList();
    compiled = true;
}

void SgMaterial::render(GLRenderer* renderer) {
    if (bypass) {
        SgEntity::render(renderer);
        return;
    }
    // The previous material is also put back by hand: Mesa 22 does not
    // restore a material set from a display list, or one still pending in its
    // vertex state when nested attribute pushes follow, on glPopAttrib.
    const GLenum params[5] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_SHININESS, GL_EMISSION};
    const GLenum faces[2] = {face == GL_BACK ? GLenum(GL_BACK) : GLenum(GL_FRONT), GL_BACK};
    const int faceCount = face == GL_FRONT_AND_BACK ? 2 : 1;
    GLfloat previous[2][5][4] = {};
    for (int f = 0; f < faceCount; ++f) {
        for (int p = 0; p < 5; ++p) {
            glGetMaterialfv(faces[f], params[p], previous[f][p]);
        }
    }
    renderer->pushAttrib(GL_LIGHTING_BIT);
    if (compiled) {
        renderer->callList(static_cast<int>(displayList));
    } else {
        applyMaterial();
    }
    // Under the lighting program, a material without specular colour draws
    // through the program's matte variant: the specular term it leaves out is
    // zero for it. Only the alpha written to the frame buffer may differ, and
    // no blend factor of the game reads the destination's alpha.
    GLint outerProgram = 0;
    const bool switchProgram = renderer->culling && !renderer->transparentPass && renderer->matteProgram != 0;
    if (switchProgram) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &outerProgram);
        const bool matte = specular[0] == 0.0f && specular[1] == 0.0f && specular[2] == 0.0f;
        renderer->useProgram(matte ? renderer->matteProgram : renderer->currentProgram);
    }
    SgEntity::render(renderer);
    if (switchProgram) {
        renderer->useProgram(static_cast<unsigned>(outerProgram));
    }
    renderer->popAttrib();
    for (int f = 0; f < faceCount; ++f) {
        for (int p = 0; p < 5; ++p) {
            glMaterialfv(faces[f], params[p], previous[f][p]);
        }
    }
}
