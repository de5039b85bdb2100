#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "gui/SgGUIElement.h"
#include "gui/SgGUIHover.h"
#include "gui/SgGUINumber.h"

namespace {
const Vector3 highlight(1.0f, 0.75f, 0.0f);

void run(SgEntity& node, double seconds, double dt) {
    for (double t = 0; t < seconds - 1e-9; t += dt) {
        node.update(dt);
    }
}

void expectColor(const Vector3& actual, const Vector3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

SgGUIElement makeElement(float alpha = 1) {
    return SgGUIElement("e", Vector3(10, 20, -2), 100, 50, 7, true, alpha, false);
}

std::string digitsOf(const SgGUINumber& n) {
    std::string s;
    for (unsigned i = 0; i < n.getDigitCount(); ++i) {
        s += static_cast<char>('0' + n.getDigit(i));
    }
    return s;
}
}  // namespace

TEST(GUIElementFade, StartsBlackWithTheGivenAlphaAndReachesTheTargetInTheFadeTime) {
    SgGUIElement e = makeElement(0.4f);
    expectColor(e.getColor(), Vector3(0, 0, 0), 0);
    EXPECT_FLOAT_EQ(e.getColor().w, 0.4f);

    e.changeColorTo(0.5f, highlight);
    run(e, 0.25, 1.0 / 60);
    expectColor(e.getColor(), highlight * 0.5f, 0.02f);
    run(e, 0.25, 1.0 / 60);
    expectColor(e.getColor(), highlight, 0.02f);
    EXPECT_FLOAT_EQ(e.getColor().w, 0.4f) << "fades change the colour, never the alpha";

    // Uneven frame times arrive too.
    SgGUIElement f = makeElement();
    f.changeColorTo(0.5f, highlight);
    const double frames[] = {0.013, 0.2, 0.041, 0.1, 0.07, 0.076};
    for (double dt : frames) {
        f.update(dt);
    }
    expectColor(f.getColor(), highlight, 0.02f);
}

TEST(GUIElementFade, SettlesOnItsTargetInsteadOfDriftingAroundIt) {
    SgGUIElement e = makeElement();
    e.changeColorTo(0.5f, highlight);
    run(e, 3.0, 1.0 / 60);
    expectColor(e.getColor(), highlight, 1e-6f);

    e.changeColorToBlack(0.5f);
    run(e, 0.25, 1.0 / 60);
    expectColor(e.getColor(), highlight * 0.5f, 0.02f);
    run(e, 3.0, 1.0 / 60);
    // A resting element must be exactly black: with GL_ADD any negative
    // remainder would darken the texture.
    expectColor(e.getColor(), Vector3(0, 0, 0), 0);

    // Fading up again from half way keeps the full step and is pulled back to
    // the target rather than staying overshot.
    e.changeColorTo(0.5f, highlight);
    run(e, 0.25, 1.0 / 60);
    e.changeColorTo(0.5f, highlight);
    run(e, 2.0, 1.0 / 60);
    expectColor(e.getColor(), highlight, 1e-6f);
}

TEST(GUIElementFade, LongFramesAndInactiveElementsAreFrozen) {
    SgGUIElement e = makeElement();
    e.changeColorTo(0.5f, highlight);
    e.update(1.0);
    e.update(5.0);
    expectColor(e.getColor(), Vector3(0, 0, 0), 0);

    e.setActive(false);
    run(e, 0.5, 1.0 / 60);
    expectColor(e.getColor(), Vector3(0, 0, 0), 0);
    e.setActive(true);
    run(e, 0.5, 1.0 / 60);
    SCOPED_TRACE("the fade resumes where it stopped");
    expectColor(e.getColor(), highlight, 0.02f);
}

TEST(GUINumber, DigitsAreMostSignificantFirstAndFollowEveryChange) {
    const unsigned textures[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    SgGUINumber n("n", Vector3(0, 0, 0), 30, 40, textures);
    EXPECT_EQ(n.getDigitCount(), 0u);

    n.setNumberToRender(407);
    EXPECT_EQ(digitsOf(n), "407");
    EXPECT_EQ(n.getShownNumber(), 407u);

    n.setNumberToRender(5);
    EXPECT_EQ(digitsOf(n), "5");
    n.setNumberToRender(0);
    EXPECT_EQ(digitsOf(n), "0");
    n.setNumberToRender(5);
    EXPECT_EQ(digitsOf(n), "5");

    n.setNumberToRender(4294967295u);
    EXPECT_EQ(digitsOf(n), "4294967295");
    n.setNumberToRender(1000);
    EXPECT_EQ(digitsOf(n), "1000");
}

TEST(GUINumber, AFreshNumberSetToZeroShowsTheDigitZero) {
    const unsigned textures[10] = {};
    SgGUINumber n("n", Vector3(0, 0, 0), 30, 40, textures);
    n.setNumberToRender(0);
    EXPECT_EQ(digitsOf(n), "0");
}

TEST(GUIHover, BobsOneUnitAroundItsRestHeightAndWrapsItsPhase) {
    SgGUIHover h("goalHover", Vector3(3, 6, 5), 1.5f, 1, Vector3(1, 0, 0));
    h.update(M_PI / 2);
    EXPECT_NEAR(h.position.y, 7.0f, 1e-5f);
    h.update(M_PI);
    EXPECT_NEAR(h.position.y, 5.0f, 1e-5f);
    EXPECT_FLOAT_EQ(h.position.x, 3);
    EXPECT_FLOAT_EQ(h.position.z, 5);

    float highest = -1e9f, lowest = 1e9f;
    for (int i = 0; i < 2000; ++i) {
        h.update(0.01);
        highest = std::max(highest, h.position.y);
        lowest = std::min(lowest, h.position.y);
        ASSERT_LT(h.getPhase(), 6.2831855f);
        ASSERT_GE(h.getPhase(), 0.0f);
    }
    EXPECT_NEAR(highest, 7.0f, 1e-3f);
    EXPECT_NEAR(lowest, 5.0f, 1e-3f);
}
