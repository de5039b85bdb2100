#include <cmath>

#include <gtest/gtest.h>

#include "sg/Vector3.h"

TEST(Vector3, ConstructionAndCopySemanticsTreatWDifferently) {
    EXPECT_EQ(Vector3().w, 1.0f);
    float raw[4] = {1, 2, 3, 0.25f};
    Vector3 fromArray(raw);
    EXPECT_EQ(fromArray.w, 0.25f);

    Vector3 copy(fromArray);
    EXPECT_EQ(copy.w, 0.25f) << "copy construction keeps w";

    Vector3 assigned(9, 9, 9);
    assigned.w = 0.5f;
    assigned = fromArray;
    EXPECT_EQ(assigned, Vector3(1, 2, 3));
    EXPECT_EQ(assigned.w, 0.5f) << "assignment keeps the target's own w";

    EXPECT_EQ((fromArray + fromArray).w, 1.0f) << "arithmetic results start with w = 1";
    EXPECT_EQ((fromArray * 2).w, 1.0f);
}

TEST(Vector3, DivisionByZeroGivesHugeFiniteVector) {
    const Vector3 v(1, 2, 3);
    for (float zero : {0.0f, -0.0f}) {
        const Vector3 q = v / zero;
        EXPECT_EQ(q, Vector3(2146435072.0f, 2146435072.0f, 2146435072.0f));
        EXPECT_EQ(q.w, 1.0f);
    }
    EXPECT_EQ(Vector3(2, 4, 8) / 2, Vector3(1, 2, 4));
}

TEST(Vector3, IndexingAndExactEquality) {
    Vector3 v(1, 2, 3);
    v.w = 4;
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(v[3], 4);
    EXPECT_EQ(v[7], 4) << "indexes above 3 read w";

    const Vector3 negZero = -Vector3(0, 0, 0);
    EXPECT_TRUE(std::signbit(negZero.x) && std::signbit(negZero.y) && std::signbit(negZero.z));
    EXPECT_EQ(negZero, Vector3(0, 0, 0));

    const float a = 0.1f;
    const float b = std::nextafter(a, 1.0f);
    EXPECT_NE(Vector3(a, 0, 0), Vector3(b, 0, 0)) << "no tolerance";
    EXPECT_NE(Vector3(NAN, 0, 0), Vector3(NAN, 0, 0));
    Vector3 differentW(1, 2, 3);
    differentW.w = 0;
    EXPECT_EQ(differentW, Vector3(1, 2, 3)) << "w is ignored";
}

TEST(Vector3, InPlaceOperatorsAndMeasures) {
    Vector3 v(1, 2, 3);
    v += Vector3(1, 1, 1);
    v -= Vector3(0, 1, 0);
    v *= 2;
    EXPECT_EQ(v, Vector3(4, 4, 8));
    v /= 4;
    EXPECT_EQ(v, Vector3(1, 1, 2));

    EXPECT_FLOAT_EQ(Vector3(3, 4, 0).length(), 5);
    EXPECT_FLOAT_EQ(Vector3(1, 1, 1).distance(Vector3(4, 5, 1)), 5);
    EXPECT_FLOAT_EQ(Vector3(1, 1, 1).sqrDistance(Vector3(4, 5, 1)), 25);
    EXPECT_FLOAT_EQ(Vector3(1, 2, 3).dot(Vector3(4, -5, 6)), 12);
    EXPECT_EQ(Vector3(1, 0, 0).cross(Vector3(0, 1, 0)), Vector3(0, 0, 1));
    EXPECT_EQ(Vector3(0, 1, 0).cross(Vector3(1, 0, 0)), Vector3(0, 0, -1));

    Vector3 n(0, 3, 4);
    n.normalize();
    EXPECT_FLOAT_EQ(n.length(), 1);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
}
