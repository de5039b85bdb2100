#pragma once

#include "sg/SgEntity.h"

// Sets the fixed-function lighting material for its subtree and restores the
// previous material afterwards. After compile() the five material calls are
// replayed from a display list.
class SgMaterial : public SgEntity {
public:
    SgMaterial(std::string name, float ambientR, float ambientG, float ambientB, float ambientA, float diffuseR,
               float diffuseG, float diffuseB, float diffuseA, float specularR, float specularG, float specularB,
               float specularA, float shininess, float emissionR, float emissionG, float emissionB,
               float emissionA, unsigned face);
    ~SgMaterial() override;
    SgMaterial(const SgMaterial&) = delete;
    SgMaterial& operator=(const SgMaterial&) = delete;

    void render(GLRenderer* renderer) override;
    // Records the material calls once; later calls do nothing.
    void compile();

    bool isCompiled() const { return compiled; }
    unsigned getDisplayList() const { return displayList; }
    const float* getAmbient() const { return ambient; }
    const float* getDiffuse() const { return diffuse; }
    const float* getSpecular() const { return specular; }
    float getShininess() const { return shininess; }
    const float* getEmission() const { return emission; }

    // When set the node applies nothing and only renders its children (the
    // labyrinth switches its map material this way).
    bool bypass;

private:
    void applyMaterial() const;

    unsigned displayList;
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float shininess;
    float emission[4];
    bool compiled;
    unsigned face;
};
