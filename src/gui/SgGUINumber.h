#pragma once

#include "sg/SgSpatialEntity.h"

// A non-negative integer drawn as a row of digit images on the 2-D overlay,
// most significant digit at the node's position (bottom-left corner).
class SgGUINumber : public SgSpatialEntity {
public:
    // digitTextures points at ten texture ids (digits 0..9); they are copied.
    SgGUINumber(std::string name, const Vector3& position, float digitWidth, float digitHeight,
                const unsigned* digitTextures);
    ~SgGUINumber() override;
    SgGUINumber(const SgGUINumber&) = delete;
    SgGUINumber& operator=(const SgGUINumber&) = delete;

    void setNumberToRender(unsigned n);
    void render(GLRenderer* renderer) override;

    unsigned getShownNumber() const { return shownNumber; }
    unsigned getDigitCount() const { return digitCount; }
    // Digit i counted from the left; only valid below getDigitCount().
    unsigned getDigit(unsigned i) const { return digits[i]; }

private:
    Vector3 color;  // added to every digit; w is the alpha
    unsigned* digitTextures;
    unsigned* digits;  // most significant first
    unsigned shownNumber;
    unsigned digitCount;
    float digitWidth;
    float digitHeight;
};
