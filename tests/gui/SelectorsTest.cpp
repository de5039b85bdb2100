#include <string>

#include <gtest/gtest.h>

#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "gui/SgGUISelectorElement.h"
#include "gui/SgGUITextSelectorElement.h"
#include "resources/TextureManager.h"

namespace {
// No texture is registered: every id is 0, which the widgets accept.
TextureManager noTextures;

SgGUISelectorElement numberSelector(unsigned lo, unsigned hi, unsigned step) {
    return SgGUISelectorElement("sel", Vector3(25, 144, -2), 164, 37, "labelTexture", lo, hi, &noTextures, step);
}

const std::string onOff[2] = {"on", "off"};
const std::string onOffTextures[2] = {"onTexture", "offTexture"};

bool shows(SgGUITextSelectorElement& s, const std::string& value) {
    SgEntity* image = s.getValueGroup()->findChild(value);
    return image != nullptr && image->isActive();
}
}  // namespace

TEST(NumberSelector, BuildsLabelArrowsAndDigitsAtTheirOffsets) {
    SgGUISelectorElement s = numberSelector(20, 80, 1);
    EXPECT_EQ(s.getCurrentElementNumber(), 20u) << "starts at the minimum";
    EXPECT_EQ(s.getNumber()->getShownNumber(), 20u);
    const auto& children = s.getChildren();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_FLOAT_EQ(s.getLabel()->getWidth(), 164);
    EXPECT_FLOAT_EQ(s.getLeftArrow()->position.x, 184);
    EXPECT_FLOAT_EQ(s.getNumber()->position.x, 207);
    EXPECT_FLOAT_EQ(s.getRightArrow()->position.x, 164 + 46 + 40);
}

TEST(NumberSelector, ClampsAtBothEndsAndMovesTheArrowWithTheDigitCount) {
    SgGUISelectorElement size = numberSelector(20, 80, 1);
    size.setCurrentElement(80);
    size.scrollRight();
    EXPECT_EQ(size.getCurrentElementNumber(), 80u);
    size.scrollLeft();
    EXPECT_EQ(size.getCurrentElementNumber(), 79u);
    size.setCurrentElement(3);
    EXPECT_EQ(size.getCurrentElementNumber(), 20u);

    SgGUISelectorElement health = numberSelector(100, 5000, 50);
    health.setCurrentElement(100);
    health.scrollLeft();
    EXPECT_EQ(health.getCurrentElementNumber(), 100u);
    health.setCurrentElement(9000);
    EXPECT_EQ(health.getCurrentElementNumber(), 5000u);
    EXPECT_EQ(health.getNumber()->getShownNumber(), 5000u);

    SgGUISelectorElement enemies = numberSelector(5, 400, 5);
    enemies.setCurrentElement(395);
    enemies.scrollRight();
    EXPECT_EQ(enemies.getCurrentElementNumber(), 400u);
    enemies.scrollRight();
    EXPECT_EQ(enemies.getCurrentElementNumber(), 400u);

    enemies.setCurrentElement(95);
    const float twoDigits = enemies.getRightArrow()->position.x;
    enemies.scrollRight();
    EXPECT_EQ(enemies.getNumber()->getShownNumber(), 100u);
    EXPECT_FLOAT_EQ(enemies.getRightArrow()->position.x - twoDigits, 20);
    enemies.scrollLeft();
    EXPECT_FLOAT_EQ(enemies.getRightArrow()->position.x, twoDigits);

    // A step larger than the distance to either end must not wrap around.
    SgGUISelectorElement wide = numberSelector(0, 4294967295u, 1000);
    wide.setCurrentElement(4294967000u);
    wide.scrollRight();
    EXPECT_EQ(wide.getCurrentElementNumber(), 4294967295u);
    wide.setCurrentElement(10);
    wide.scrollLeft();
    EXPECT_EQ(wide.getCurrentElementNumber(), 0u);
}

TEST(NumberSelector, HighlightFadesOnlyTheLabel) {
    SgGUISelectorElement s = numberSelector(20, 80, 1);
    s.changeColorTo(0.5f, Vector3(1, 0.75f, 0));
    for (int i = 0; i < 30; ++i) {
        s.update(1.0 / 60);
    }
    EXPECT_NEAR(s.getLabel()->getColor().x, 1.0f, 0.02f);
    EXPECT_FLOAT_EQ(s.getRightArrow()->getColor().x, 0);
    s.changeColorToBlack(0.5f);
    for (int i = 0; i < 60; ++i) {
        s.update(1.0 / 60);
    }
    EXPECT_FLOAT_EQ(s.getLabel()->getColor().x, 0);
}

TEST(TextSelector, ScrollsWithoutWrapping) {
    SgGUITextSelectorElement s("shaderSelector", Vector3(25, 64, -2), 164, 37, "shaderButtonTexture", 1, 2, onOff,
                               onOffTextures, 50, &noTextures);
    const auto& children = s.getChildren();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_FLOAT_EQ(s.getRightArrow()->position.x, 164 + 66 + 50);
    EXPECT_EQ(s.getCurrentElementString(), "off") << "the value text, not its texture name";
    EXPECT_TRUE(shows(s, "off"));
    EXPECT_FALSE(shows(s, "on"));

    s.scrollRight();
    EXPECT_EQ(s.getCurrentElementString(), "off");
    EXPECT_TRUE(shows(s, "off"));

    s.scrollLeft();
    s.scrollLeft();
    EXPECT_EQ(s.getCurrentElementString(), "on");
    EXPECT_TRUE(shows(s, "on"));
    EXPECT_FALSE(shows(s, "off"));

    s.scrollRight();
    EXPECT_EQ(s.getCurrentElementString(), "off");

    s.setCurrentElement(7);
    EXPECT_EQ(s.getCurrentElementString(), "off");
    s.setCurrentElement(0);
    EXPECT_EQ(s.getCurrentElementString(), "on");
    EXPECT_FALSE(shows(s, "off"));
}

TEST(TextSelector, KeepsItsOwnCopyOfTheValuesAndClampsTheInitialIndex) {
    testing::internal::CaptureStdout();
    std::string* values = new std::string[3]{"low", "mid", "high"};
    std::string* textures = new std::string[3]{"a", "b", "c"};
    SgGUITextSelectorElement s("quality", Vector3(0, 0, 0), 100, 37, "label", 9, 3, values, textures, 50,
                               &noTextures);
    delete[] values;
    delete[] textures;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(s.getCurrentElementString(), "high");
    EXPECT_TRUE(shows(s, "high"));
    s.scrollLeft();
    EXPECT_EQ(s.getCurrentElementString(), "mid");
}
