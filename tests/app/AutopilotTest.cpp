#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Autopilot.h"

namespace {
// '#' wall, anything else free; rows run along z. Tiles 2 units wide with
// tile [0][0] at the origin.
Autopilot::Grid gridFrom(const std::vector<std::string>& rows) {
    Autopilot::Grid g;
    g.size = static_cast<int>(rows.size());
    g.originX = 0.0f;
    g.originZ = 0.0f;
    g.tileSize = 2.0f;
    for (const std::string& row : rows) {
        for (char c : row) {
            g.free.push_back(c == '#' ? 0 : 1);
        }
    }
    return g;
}

float centre(int index) { return 2.0f * static_cast<float>(index) + 1.0f; }

int at(const Autopilot::Grid& g, const std::vector<int>& d, int row, int column) {
    return d[static_cast<size_t>(row * g.size + column)];
}
}  // namespace

TEST(AutopilotPlanning, DistancesFollowTheCorridorsAndSkipUnreachableTiles) {
    const Autopilot::Grid g = gridFrom({
        "#####",
        "#  ##",
        "## ##",
        "#   #",
        "###G#",
    });
    const std::vector<int> d = Autopilot::distancesTo(g, 4, 3);
    EXPECT_EQ(at(g, d, 4, 3), 0);
    EXPECT_EQ(at(g, d, 3, 3), 1);
    EXPECT_EQ(at(g, d, 3, 1), 3) << "around, not through, the wall";
    EXPECT_EQ(at(g, d, 1, 1), 5) << "the dead end at the top left is reached over (1,2)";
    EXPECT_EQ(at(g, d, 0, 0), -1) << "walls have no distance";

    const Autopilot::Grid pocket = gridFrom({
        "#####",
        "# # #",
        "#####",
        "#  G#",
        "#####",
    });
    const std::vector<int> p = Autopilot::distancesTo(pocket, 3, 3);
    EXPECT_EQ(at(pocket, p, 1, 1), -1) << "a walled-in tile cannot reach the goal";
    EXPECT_EQ(at(pocket, p, 3, 1), 2);
    const std::vector<int> none = Autopilot::distancesTo(pocket, 0, 0);
    for (int v : none) {
        EXPECT_EQ(v, -1) << "a goal on a wall leads nowhere";
    }
}

TEST(AutopilotPlanning, WaypointsCutCornersOnlyWhereTheBallFits) {
    // A straight corridor: the waypoint lies several tiles ahead.
    std::vector<std::string> rows(10, "##########");
    rows[1] = "#        G";
    const Autopilot::Grid straight = gridFrom(rows);
    const std::vector<int> ds = Autopilot::distancesTo(straight, 1, 9);
    float x = 0.0f;
    float z = 0.0f;
    ASSERT_TRUE(Autopilot::nextWaypoint(straight, ds, centre(1), centre(1), 0.65f, x, z));
    EXPECT_FLOAT_EQ(z, centre(1));
    EXPECT_FLOAT_EQ(x, centre(7)) << "six tiles ahead in clear sight";

    // An L bend: the ball must not aim across the inner corner.
    const Autopilot::Grid bend = gridFrom({
        "#####",
        "#   #",
        "### #",
        "### #",
        "###G#",
    });
    const std::vector<int> db = Autopilot::distancesTo(bend, 4, 3);
    ASSERT_TRUE(Autopilot::nextWaypoint(bend, db, centre(1), centre(1), 0.65f, x, z));
    EXPECT_FLOAT_EQ(x, centre(3));
    EXPECT_FLOAT_EQ(z, centre(1)) << "the corner tile, not a tile beyond the bend";
    EXPECT_FALSE(Autopilot::lineIsClear(bend, centre(1), centre(1), centre(3), centre(3), 0.65f));
    EXPECT_TRUE(Autopilot::lineIsClear(bend, centre(3), centre(1), centre(3), centre(4), 0.65f));
    EXPECT_FALSE(Autopilot::lineIsClear(bend, centre(2), centre(1), centre(3), centre(1) + 0.5f, 0.65f))
        << "a footprint grazing the wall row below is not clear";

    // Standing on a wall top next to the path: head for the nearest free tile.
    ASSERT_TRUE(Autopilot::nextWaypoint(bend, db, centre(2) + 0.8f, centre(2), 0.65f, x, z));
    EXPECT_FLOAT_EQ(x, centre(3));
    EXPECT_FLOAT_EQ(z, centre(2));

    // Far outside the maze there is nothing to follow.
    EXPECT_FALSE(Autopilot::nextWaypoint(bend, db, -50.0f, -50.0f, 0.65f, x, z));
}

TEST(AutopilotInput, MouseStepsAreBoundedAndFollowTheCursorWrap) {
    EXPECT_EQ(Autopilot::stepPixels(0.0f), 0);
    EXPECT_EQ(Autopilot::stepPixels(0.36f), 4);
    EXPECT_EQ(Autopilot::stepPixels(-0.36f), -4);
    EXPECT_EQ(Autopilot::stepPixels(50.0f), Autopilot::maxStepPixels);
    EXPECT_EQ(Autopilot::stepPixels(-50.0f), -Autopilot::maxStepPixels);
    EXPECT_EQ(Autopilot::stepPixels(std::nanf("")), 0) << "no velocity to chase, no motion";

    EXPECT_EQ(Autopilot::cursorAfter(320, 640), 320);
    EXPECT_EQ(Autopilot::cursorAfter(639, 640), 2) << "the right edge wraps to the left";
    EXPECT_EQ(Autopilot::cursorAfter(0, 640), 638) << "the left edge wraps to the right";
    EXPECT_EQ(Autopilot::cursorAfter(1, 640), 1);
}
