#include "gui/SgGUITextSelectorElement.h"

#include <cstdio>

#include "gui/SgGUIElement.h"
#include "resources/TextureManager.h"

namespace {
// Layout in canvas units, relative to the selector's position.
constexpr float valueOffset = 43;       // label width to the value image
constexpr float valueHeight = 37;
constexpr float arrowWidth = 20;
constexpr float arrowHeight = 37;
constexpr float leftArrowOffset = 20;   // label width to the left arrow
constexpr float rightArrowOffset = 66;  // label width + value width to the right arrow
constexpr float depth = -2;
}  // namespace

SgGUITextSelectorElement::SgGUITextSelectorElement(std::string name_, const Vector3& position_, float width,
                                                   float height, std::string labelTextureName,
                                                   unsigned initialIndex, unsigned valueCount_,
                                                   const std::string* values_,
                                                   const std::string* valueTextureNames, float valueWidth,
                                                   TextureManager* textures)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      arrowRightTexture(0),
      arrowLeftTexture(0),
      labelTexture(textures->getTextureId(labelTextureName)),
      values(values_, values_ + valueCount_),
      index(0),
      labelWidth(static_cast<int>(width)),
      labelHeight(static_cast<int>(height)),
      rightArrow(nullptr),
      leftArrow(nullptr),
      label(nullptr),
      valueGroup(new SgEntity("currentSelectionElement")),
      valueCount(valueCount_) {
    for (unsigned i = 0; i < valueCount; ++i) {
        SgGUIElement* image = new SgGUIElement(values[i], Vector3(width + valueOffset, 0, depth), valueWidth,
                                               valueHeight, textures->getTextureId(valueTextureNames[i]), true,
                                               1, false);
        printf("added Selector Element: %s\n", values[i].c_str());
        valueGroup->addChild(image);
        image->setActive(false);
        valueElements.push_back(image);
    }
    // An index past the end would show nothing and read past the list.
    index = (valueCount > 0 && initialIndex >= valueCount) ? valueCount - 1 : initialIndex;
    if (valueCount > 0) {
        valueElements[index]->setActive(true);
    }

    arrowRightTexture = textures->getTextureId("arrowRightTexture");
    arrowLeftTexture = textures->getTextureId("arrowLeftTexture");
    label = new SgGUIElement("selectorLabel", Vector3(0, 0, depth), width, height, labelTexture, true, 1, false);
    rightArrow = new SgGUIElement("selectorRightArrow", Vector3(width + rightArrowOffset + valueWidth, 0, depth),
                                  arrowWidth, arrowHeight, arrowRightTexture, true, 1, false);
    leftArrow = new SgGUIElement("selectorLeftArrow", Vector3(width + leftArrowOffset, 0, depth), arrowWidth,
                                 arrowHeight, arrowLeftTexture, true, 1, false);
    addChild(label);
    addChild(rightArrow);
    addChild(leftArrow);
    addChild(valueGroup);
}

SgGUITextSelectorElement::~SgGUITextSelectorElement() {
    delete label;
    delete rightArrow;
    delete leftArrow;
    for (SgGUIElement* image : valueElements) {
        delete image;
    }
    delete valueGroup;
}

void SgGUITextSelectorElement::showOnly(unsigned newIndex) {
    valueElements[index]->setActive(false);
    index = newIndex;
    valueElements[index]->setActive(true);
}

void SgGUITextSelectorElement::scrollRight() {
    if (valueCount == 0) {
        return;
    }
    printf("old Selector Element: %s\n", values[index].c_str());
    showOnly(index + 1 < valueCount ? index + 1 : valueCount - 1);
    printf("new Selector Element: %s\n", values[index].c_str());
}

void SgGUITextSelectorElement::scrollLeft() {
    if (valueCount == 0) {
        return;
    }
    showOnly(index > 0 ? index - 1 : 0);
}

std::string SgGUITextSelectorElement::getCurrentElementString() const {
    return valueCount == 0 ? std::string() : values[index];
}

void SgGUITextSelectorElement::setCurrentElement(unsigned newIndex) {
    if (valueCount == 0) {
        return;
    }
    showOnly(newIndex < valueCount ? newIndex : valueCount - 1);
}

void SgGUITextSelectorElement::changeColorTo(float seconds, const Vector3& color) {
    label->changeColorTo(seconds, color);
}

void SgGUITextSelectorElement::changeColorToBlack(float seconds) { label->changeColorToBlack(seconds); }
