#include "gui/SgGUINumber.h"

#include <GL/glew.h>

#include "gui/SgGUIElement.h"
#include "sg/GLRenderer.h"

SgGUINumber::SgGUINumber(std::string name_, const Vector3& position_, float digitWidth_, float digitHeight_,
                         const unsigned* textures)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      color(0, 0, 0),
      digitTextures(new unsigned[10]),
      digits(nullptr),
      shownNumber(0),
      digitCount(0),
      digitWidth(digitWidth_),
      digitHeight(digitHeight_) {
    color.w = 1;
    for (int i = 0; i < 10; ++i) {
        digitTextures[i] = textures[i];
    }
}

SgGUINumber::~SgGUINumber() {
    delete[] digitTextures;
    delete[] digits;
}

void SgGUINumber::setNumberToRender(unsigned n) {
    // A fresh number has no digits yet, so asking it for 0 must still build
    // the digit 0 rather than being taken as "unchanged".
    if (n == shownNumber && digitCount > 0) {
        return;
    }
    unsigned count = 1;
    for (unsigned rest = n / 10; rest > 0; rest /= 10) {
        ++count;
    }
    delete[] digits;
    digits = new unsigned[count];
    unsigned rest = n;
    for (unsigned i = count; i > 0; --i) {
        digits[i - 1] = rest % 10;
        rest /= 10;
    }
    digitCount = count;
    shownNumber = n;
}

void SgGUINumber::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    if (beginDraw()) {
        SgGUIElement::drawOverlay(this, renderer, true, GL_ONE_MINUS_SRC_ALPHA, [this] {
            for (unsigned i = 0; i < digitCount; ++i) {
                const float left = static_cast<float>(i) * digitWidth;
                const float right = left + digitWidth;
                SgGUIElement::drawTexturedQuad(digitTextures[digits[i]], color, left, right, digitHeight);
            }
        });
    }
    endDraw(renderer);
}
