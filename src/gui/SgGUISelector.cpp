#include "gui/SgGUISelector.h"

#include "gui/SgGUIElement.h"
#include "resources/TextureManager.h"

namespace {
constexpr float arrowWidth = 20;
constexpr float arrowHeight = 37;
constexpr float leftArrowOffset = 20;  // label width to the left arrow
}  // namespace

SgGUISelector::SgGUISelector(std::string name_, const Vector3& position_, float labelWidth_, float labelHeight,
                             const std::string& labelTextureName, float rightArrowX, TextureManager* textures)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      labelWidth(labelWidth_),
      rightArrow(new SgGUIElement("selectorRightArrow", Vector3(rightArrowX, 0, depth), arrowWidth, arrowHeight,
                                  textures->getTextureId("arrowRightTexture"), true, 1, false)),
      leftArrow(new SgGUIElement("selectorLeftArrow", Vector3(labelWidth_ + leftArrowOffset, 0, depth), arrowWidth,
                                 arrowHeight, textures->getTextureId("arrowLeftTexture"), true, 1, false)),
      label(new SgGUIElement("selectorLabel", Vector3(0, 0, depth), labelWidth_, labelHeight,
                             textures->getTextureId(labelTextureName), true, 1, false)) {
    addChild(label);
    addChild(rightArrow);
    addChild(leftArrow);
}

SgGUISelector::~SgGUISelector() {
    delete label;
    delete rightArrow;
    delete leftArrow;
}

void SgGUISelector::changeColorTo(float seconds, const Vector3& color) { label->changeColorTo(seconds, color); }

void SgGUISelector::changeColorToBlack(float seconds) { label->changeColorToBlack(seconds); }
