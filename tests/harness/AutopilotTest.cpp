#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Input.h"
#include "harness/Autopilot.h"

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

    EXPECT_EQ(cursorKeptInside(320, 640), 320);
    EXPECT_EQ(cursorKeptInside(639, 640), 2) << "the right edge wraps to the left";
    EXPECT_EQ(cursorKeptInside(0, 640), 638) << "the left edge wraps to the right";
    EXPECT_EQ(cursorKeptInside(1, 640), 1);
}

TEST(AutopilotPlanning, CrowdedTilesMakeThePathGoRoundWhereTheMazeAllowsIt) {
    // Two ways from S (3,1) to G (3,5): over the top row or along row 3.
    const Autopilot::Grid g = gridFrom({
        "#######",
        "#     #",
        "# ### #",
        "#     G",
        "#######",
        "#######",
        "#######",
    });
    const std::vector<int> plain = Autopilot::costsTo(g, 3, 6, {});
    EXPECT_EQ(at(g, plain, 3, 6), 0);
    EXPECT_EQ(at(g, plain, 3, 1), 5 * Autopilot::stepCost) << "without enemies the cost is the step count";
    EXPECT_EQ(at(g, plain, 0, 0), -1);
    const std::vector<int> steps = Autopilot::distancesTo(g, 3, 6);
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(plain[i], steps[i] < 0 ? -1 : steps[i] * Autopilot::stepCost) << "tile " << i;
    }

    // An enemy crowd on the lower corridor: the cheaper way is now the top.
    const std::vector<Vector3> crowd(6, Vector3(centre(3), 0.5f, centre(3)));
    const std::vector<int> penalty = Autopilot::crowdPenalty(g, crowd);
    EXPECT_GT(at(g, penalty, 3, 3), at(g, penalty, 3, 2)) << "the crowd's own tile costs most";
    EXPECT_GT(at(g, penalty, 3, 2), 0);
    EXPECT_EQ(at(g, penalty, 3, 6), 0) << "three tiles away the crowd costs nothing";
    const std::vector<int> around = Autopilot::costsTo(g, 3, 6, penalty);
    float x = 0.0f;
    float z = 0.0f;
    float afterX = 0.0f;
    float afterZ = 0.0f;
    ASSERT_TRUE(Autopilot::nextWaypoint(g, around, centre(1), centre(3), 0.65f, x, z, afterX, afterZ));
    EXPECT_FLOAT_EQ(x, centre(1));
    EXPECT_FLOAT_EQ(z, centre(1)) << "up the left column, away from the crowd";
    EXPECT_FLOAT_EQ(afterX, centre(2)) << "and then along the top row";
    EXPECT_FLOAT_EQ(afterZ, centre(1));
    ASSERT_TRUE(Autopilot::nextWaypoint(g, plain, centre(1), centre(3), 0.65f, x, z));
    EXPECT_FLOAT_EQ(z, centre(3)) << "with nobody there the straight corridor wins";

    // A crowd the maze cannot avoid only makes the path dearer, never cut.
    const std::vector<Vector3> blocking(3, Vector3(centre(5), 0.5f, centre(3)));
    const std::vector<int> dear = Autopilot::costsTo(g, 3, 6, Autopilot::crowdPenalty(g, blocking));
    EXPECT_GT(at(g, dear, 3, 1), at(g, plain, 3, 1));
    EXPECT_EQ(at(g, dear, 3, 6), 0) << "the goal tile's own penalty is never charged";
    for (size_t i = 0; i < dear.size(); ++i) {
        EXPECT_EQ(dear[i] < 0, plain[i] < 0) << "reachability does not depend on enemies, tile " << i;
    }
    // Enemies outside the maze are ignored rather than indexed.
    const std::vector<int> outside = Autopilot::crowdPenalty(g, {Vector3(-40.0f, 0.0f, 200.0f)});
    for (int value : outside) {
        EXPECT_EQ(value, 0);
    }
}

TEST(AutopilotPlanning, WaypointsReportTheTileBeyondAndStopAtTheGoal) {
    const Autopilot::Grid bend = gridFrom({
        "#####",
        "#   #",
        "### #",
        "### #",
        "###G#",
    });
    const std::vector<int> d = Autopilot::costsTo(bend, 4, 3, {});
    float x = 0.0f;
    float z = 0.0f;
    float afterX = 0.0f;
    float afterZ = 0.0f;
    ASSERT_TRUE(Autopilot::nextWaypoint(bend, d, centre(1), centre(1), 0.65f, x, z, afterX, afterZ));
    EXPECT_FLOAT_EQ(x, centre(3));
    EXPECT_FLOAT_EQ(afterX, centre(3));
    EXPECT_FLOAT_EQ(afterZ, centre(2)) << "round the corner, one tile down";
    ASSERT_TRUE(Autopilot::nextWaypoint(bend, d, centre(3), centre(3) + 0.2f, 0.65f, x, z, afterX, afterZ));
    EXPECT_FLOAT_EQ(z, centre(4));
    EXPECT_FLOAT_EQ(afterZ, z) << "at the goal there is nothing beyond";
    EXPECT_FLOAT_EQ(afterX, x);
}

TEST(AutopilotThreats, ClosestApproachPredictsPassesAndHits) {
    float seconds = 0.0f;
    float nearest = 0.0f;
    // Head-on at 8 units/s closing from 4 units: contact course at 0.5 s.
    Autopilot::closestApproach(Vector3(4.0f, 0.0f, 0.0f), Vector3(-8.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_NEAR(seconds, 0.5f, 1e-5f);
    EXPECT_NEAR(nearest, 0.0f, 1e-5f);
    // Passing 1.5 units to the side: nearest 1.5, no touch.
    Autopilot::closestApproach(Vector3(4.0f, 0.0f, 1.5f), Vector3(-8.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_NEAR(nearest, 1.5f, 1e-5f);
    // Passing overhead counts in 3-D: an enemy 2 units up misses.
    Autopilot::closestApproach(Vector3(2.0f, 2.0f, 0.0f), Vector3(-4.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_NEAR(nearest, 2.0f, 1e-5f);
    // Moving away: nearest is now.
    Autopilot::closestApproach(Vector3(3.0f, 0.0f, 4.0f), Vector3(1.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_FLOAT_EQ(seconds, 0.0f);
    EXPECT_NEAR(nearest, 5.0f, 1e-5f);
    // Too far ahead in time: limited to the horizon, still far then.
    Autopilot::closestApproach(Vector3(20.0f, 0.0f, 0.0f), Vector3(-4.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_FLOAT_EQ(seconds, 1.0f);
    EXPECT_NEAR(nearest, 16.0f, 1e-4f);
    // No relative motion: nothing to divide by.
    Autopilot::closestApproach(Vector3(0.6f, 0.0f, 0.8f), Vector3(0.0f, 0.0f, 0.0f), 1.0f, seconds, nearest);
    EXPECT_FLOAT_EQ(seconds, 0.0f);
    EXPECT_NEAR(nearest, 1.0f, 1e-5f);
}
