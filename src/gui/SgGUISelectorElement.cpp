#include "gui/SgGUISelectorElement.h"

#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "resources/TextureManager.h"

namespace {
// Layout in canvas units, relative to the selector's position.
constexpr float valueOffset = 43;      // label width to the first digit
constexpr float digitWidth = 21;
constexpr float digitHeight = 37;
constexpr float arrowWidth = 20;
constexpr float arrowHeight = 37;
constexpr float leftArrowOffset = 20;  // label width to the left arrow
constexpr float rightArrowOffset = 46; // label width + digits to the right arrow
constexpr float advancePerDigit = 20;
constexpr float depth = -2;
}  // namespace

SgGUISelectorElement::SgGUISelectorElement(std::string name_, const Vector3& position_, float width,
                                           float height, std::string labelTextureName, unsigned minValue_,
                                           unsigned maxValue_, TextureManager* textures, unsigned step_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      arrowRightTexture(0),
      arrowLeftTexture(0),
      labelTexture(textures->getTextureId(labelTextureName)),
      number(nullptr),
      maxValue(maxValue_),
      minValue(minValue_),
      step(step_),
      current(minValue_),
      labelWidth(static_cast<int>(width)),
      labelHeight(static_cast<int>(height)),
      rightArrow(nullptr),
      leftArrow(nullptr),
      label(nullptr) {
    unsigned digitTextures[10];
    for (int i = 0; i < 10; ++i) {
        digitTextures[i] = textures->getTextureId("number" + std::to_string(i) + "Texture");
    }
    number = new SgGUINumber("selectionNumber", Vector3(width + valueOffset, 0, depth), digitWidth, digitHeight,
                             digitTextures);
    number->setNumberToRender(current);

    arrowRightTexture = textures->getTextureId("arrowRightTexture");
    arrowLeftTexture = textures->getTextureId("arrowLeftTexture");
    label = new SgGUIElement("selectorLabel", Vector3(0, 0, depth), width, height, labelTexture, true, 1, false);
    const float rightX = width + rightArrowOffset + advancePerDigit * static_cast<float>(number->getDigitCount());
    rightArrow = new SgGUIElement("selectorRightArrow", Vector3(rightX, 0, depth), arrowWidth, arrowHeight,
                                  arrowRightTexture, true, 1, false);
    leftArrow = new SgGUIElement("selectorLeftArrow", Vector3(width + leftArrowOffset, 0, depth), arrowWidth,
                                 arrowHeight, arrowLeftTexture, true, 1, false);
    addChild(label);
    addChild(rightArrow);
    addChild(leftArrow);
    addChild(number);
}

SgGUISelectorElement::~SgGUISelectorElement() {
    delete label;
    delete rightArrow;
    delete leftArrow;
    delete number;
}

void SgGUISelectorElement::scrollRight() {
    // Written as a comparison so values near the top of unsigned cannot wrap.
    current = (maxValue < step || current > maxValue - step) ? maxValue : current + step;
    showCurrent();
}

void SgGUISelectorElement::scrollLeft() {
    current = (current < minValue + step) ? minValue : current - step;
    showCurrent();
}

void SgGUISelectorElement::setCurrentElement(unsigned value) {
    current = value < minValue ? minValue : (value > maxValue ? maxValue : value);
    showCurrent();
}

void SgGUISelectorElement::showCurrent() {
    number->setNumberToRender(current);
    rightArrow->position.x = static_cast<float>(labelWidth) +
                             advancePerDigit * static_cast<float>(number->getDigitCount()) + rightArrowOffset;
}

void SgGUISelectorElement::changeColorTo(float seconds, const Vector3& color) { label->changeColorTo(seconds, color); }

void SgGUISelectorElement::changeColorToBlack(float seconds) { label->changeColorToBlack(seconds); }
