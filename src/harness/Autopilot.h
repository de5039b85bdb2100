#pragma once

#include <cstddef>
#include <vector>

#include "sg/Vector3.h"

class SgLabyrinth;
class SgPhysEntity;

// Plays the game through the same doors a person uses: it presses keys
// through keyboardFunc / specialFunc, moves the mouse through motionFunc and
// clicks through mouseButtonFunc. Once per tick it looks at the game state:
// in the menu it starts a game, after a win or a loss it presses Enter, and
// while playing it steers the ball along a shortest tile path to the goal.
class Autopilot {
public:
    // One synthetic mouse event moves the cursor at most this many pixels on
    // each axis; motionFunc turns 10 pixels into 1 unit/s of velocity.
    static constexpr int maxStepPixels = 12;
    static constexpr float pixelsPerVelocityUnit = 10.0f;
    // Seconds of pushing without getting anywhere before the ball jumps.
    static constexpr double stuckSeconds = 0.8;
    // Seconds of play after which a level is abandoned (Esc, counted lost).
    static constexpr double giveUpSeconds = 150.0;

    // Tiles per side, free flags row by row (row along z, column along x).
    struct Grid {
        int size = 0;
        float originX = 0.0f;  // low x / low z corner of tile [0][0]
        float originZ = 0.0f;
        float tileSize = 2.0f;
        std::vector<char> free;
        bool isFree(int row, int column) const {
            return row >= 0 && column >= 0 && row < size && column < size &&
                   free[static_cast<std::size_t>(row * size + column)] != 0;
        }
    };

    // The once-per-tick hook, run after the tick: what it does reaches the
    // game before the next one. The autopilot draws no random numbers: the
    // game's GameRandom belongs to the rules, so a run plays the same mazes
    // with or without it.
    void tick();
    // Whether levelLimit levels are done: the autopilot then presses nothing
    // more, and the entry ends the run (exit code 0).
    bool finished() const;

    // Levels to finish (won or lost) before the run is done; 0 plays on.
    int levelLimit = 0;
    // Steers and jumps as a keyboard player does, holding the arrow keys and
    // pressing E through the keys' GLUT callbacks, instead of the mouse.
    bool steersByKeys = false;
    // The velocity change (units/s) on an axis below which no key is held
    // for it: a little under one tick's push, so that the keys settle.
    static constexpr float keyDeadBand = 0.1f;
    int levelsWon = 0;
    int levelsLost = 0;

    // Steps (4-neighbour moves over free tiles) from every tile to the goal
    // tile, row by row; -1 where the goal cannot be reached or on walls.
    static std::vector<int> distancesTo(const Grid& grid, int goalRow, int goalColumn);
    // Cost of one step onto a free tile in costsTo, before any penalty.
    static constexpr int stepCost = 10;
    // Path cost from every tile to the goal, row by row: stepCost per step
    // plus the penalty of every tile left on the way, the start tile's
    // included and the goal's never (penalty indexed like the grid; empty
    // means none). -1 where the goal cannot be reached or on walls.
    static std::vector<int> costsTo(const Grid& grid, int goalRow, int goalColumn, const std::vector<int>& penalty);
    // Per-tile penalty for the enemies at the given (x, z) positions: each
    // enemy adds to the tiles within two tiles of it, most to its own tile,
    // so that where the maze offers a way round the crowd the path takes it.
    static std::vector<int> crowdPenalty(const Grid& grid, const std::vector<Vector3>& enemies);
    // Seconds until an enemy at relative position `offset` (enemy minus ball)
    // moving at relative velocity `closing` comes nearest, limited to
    // [0, horizon], and how near it comes then (centre distance, 3-D).
    static void closestApproach(const Vector3& offset, const Vector3& closing, float horizon, float& seconds,
                                float& nearest);
    // Whether a ball of the given radius can roll in a straight line from a
    // to b (x and z) without its square footprint touching a wall tile.
    static bool lineIsClear(const Grid& grid, float ax, float az, float bx, float bz, float radius);
    // The centre of the tile to head for from (x, z): the furthest of the
    // next few tiles down the distance (or cost) field that is in clear
    // sight, else the best free neighbour. False when no tile leads to the
    // goal. `afterX/Z` get the tile after the waypoint on the path (the
    // waypoint itself at the goal), for rounding the corner at speed.
    static bool nextWaypoint(const Grid& grid, const std::vector<int>& distances, float x, float z, float radius,
                             float& targetX, float& targetZ);
    static bool nextWaypoint(const Grid& grid, const std::vector<int>& distances, float x, float z, float radius,
                             float& targetX, float& targetZ, float& afterX, float& afterZ);
    // Pixels to move the cursor on one axis to change a velocity component by
    // `change`: the rounded amount, limited to maxStepPixels either way.
    static int stepPixels(float change);
    // True when the point lies strictly inside one of the maze's wall boxes.
    static bool insideWall(const SgLabyrinth& maze, const Vector3& point);
    static Grid gridOf(const SgLabyrinth& maze);

private:
    // Steers the ball one tick's worth towards the goal, around the swarm.
    void steer(double dt);
    // The tile to head for from p (x, z), on a path re-planned around the
    // enemies; false when no tile leads to the goal.
    bool planWaypoint(const Vector3& p, const std::vector<const SgPhysEntity*>& enemies, float& targetX,
                      float& targetZ, bool& atGoal);
    // Jumps when the ball has made no progress for stuckSeconds.
    void jumpWhenStuck(const Vector3& p, double dt);
    void pressKey(unsigned char key);
    void moveMouse(int dx, int dy);
    // Holds the arrow key of each axis whose velocity must change by more
    // than keyDeadBand that way, and lets go of the others.
    void holdKeys(float changeX, float changeZ);
    void holdKey(int& held, int wanted);
    void releaseKeys();
    void rebuild();
    void jump();

    const SgLabyrinth* maze = nullptr;
    Grid grid;
    std::vector<int> distances;
    int goalRow = 0;
    int goalColumn = 0;
    bool cursorPlaced = false;
    int cursorX = 0;
    int cursorY = 0;
    double stuckTime = 0.0;
    double levelTime = 0.0;  // seconds played in the current level
    Vector3 lastPosition;
    // The arrow key held for each axis; 0 for none.
    int keyX = 0;
    int keyZ = 0;
};
