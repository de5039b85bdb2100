#include "harness/Autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <queue>
#include <utility>

#include "app/Globals.h"
#include "app/Input.h"
#include "app/PlayInput.h"
#include "app/TickClock.h"
#include "gui/SgGUI.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/BoundingBox.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "platform/KeyCodes.h"

namespace {
// Tiles looked ahead along the path when cutting corners.
constexpr int lookAhead = 6;
// The ball's radius, plus a little room so it does not graze the corners.
constexpr float clearance = 0.65f;
constexpr float ballRadius = 0.5f;
// Below this horizontal speed (units/s) a ball that is pushed counts as stuck.
constexpr float stuckSpeed = 0.6f;
// Enemies nearer than avoidRadius (units, over the floor) push the wished-for
// velocity away by up to avoidPush units/s; nearer than jumpRadius the ball
// jumps over them.
constexpr float avoidRadius = 3.0f;
constexpr float avoidPush = 4.0f;
constexpr float jumpRadius = 1.6f;
// Enemies are extrapolated this many seconds ahead; one whose path comes
// nearer than dodgeMiss (centre distance; the spheres touch at 1) is dodged.
constexpr float dodgeHorizon = 1.0f;
constexpr float dodgeMiss = 1.8f;

float tileCentre(float origin, float tileSize, int index) {
    return origin + (static_cast<float>(index) + 0.5f) * tileSize;
}

int tileIndex(float origin, float tileSize, float coordinate) {
    return static_cast<int>(std::floor((coordinate - origin) / tileSize));
}

bool footprintFree(const Autopilot::Grid& g, float x, float z, float radius) {
    for (float ox : {-radius, radius}) {
        for (float oz : {-radius, radius}) {
            const int column = tileIndex(g.originX, g.tileSize, x + ox);
            const int row = tileIndex(g.originZ, g.tileSize, z + oz);
            if (!g.isFree(row, column)) {
                return false;
            }
        }
    }
    return true;
}

// The swarm's enemies, in the controller's order.
std::vector<const SgPhysEntity*> swarm() {
    std::vector<const SgPhysEntity*> enemies;
    if (particleController != nullptr) {
        for (const SgEntity* child : particleController->getChildren()) {
            enemies.push_back(static_cast<const SgPhysEntity*>(child));
        }
    }
    return enemies;
}

// The velocity wished for (units/s) and the path's direction (unit length,
// or zero on the target).
struct Wish {
    float x = 0.0f;
    float z = 0.0f;
    float ux = 0.0f;
    float uz = 0.0f;
};

// Straight at the target: full speed everywhere but in front of the goal,
// where arriving is the point.
Wish wishTowards(const Vector3& p, float targetX, float targetZ, bool atGoal, float maxSpeed) {
    Wish wish;
    wish.x = targetX - p.x;
    wish.z = targetZ - p.z;
    const float distance = std::hypot(wish.x, wish.z);
    const float speed = atGoal ? std::min(maxSpeed, std::max(1.5f, 4.0f * distance)) : maxSpeed;
    if (distance > 1e-4f) {
        wish.ux = wish.x / distance;
        wish.uz = wish.z / distance;
        wish.x = wish.ux * speed;
        wish.z = wish.uz * speed;
    }
    return wish;
}

// Each enemy is extrapolated along its velocity relative to the ball: one
// that will pass near pushes the wish sideways (never against the path:
// slowing down in a corridor lets the swarm catch up), and one about to
// touch the ball at floor height is jumped over, timed so the ball is high
// enough when it arrives. True when the ball should jump now.
bool dodge(const Vector3& p, const Vector3& v, const std::vector<const SgPhysEntity*>& enemies, Wish& wish) {
    const bool onFloor = p.y > -0.6f && p.y < 0.6f;
    bool jumpNow = false;
    for (const SgPhysEntity* enemy : enemies) {
        const Vector3 offset = enemy->position - p;
        const Vector3 closing = enemy->velocity - v;
        float seconds = 0.0f;
        float nearest = 0.0f;
        Autopilot::closestApproach(offset, closing, dodgeHorizon, seconds, nearest);
        const float flat = std::hypot(offset.x, offset.z);
        const bool threat = nearest < dodgeMiss || (flat < avoidRadius && std::fabs(offset.y) < 1.5f);
        if (!threat || flat < 1e-3f) {
            continue;
        }
        // Away from where the enemy will be at its nearest (or is now).
        float awayX = -(offset.x + closing.x * seconds);
        float awayZ = -(offset.z + closing.z * seconds);
        float awayLength = std::hypot(awayX, awayZ);
        if (awayLength < 1e-3f) {
            awayX = -offset.x;
            awayZ = -offset.z;
            awayLength = flat;
        }
        const float urgency = std::max(0.0f, 1.0f - seconds / dodgeHorizon) *
                              std::max(0.0f, (dodgeMiss - std::min(nearest, dodgeMiss)) / dodgeMiss + 0.25f);
        float sideX = awayX / awayLength * avoidPush * urgency;
        float sideZ = awayZ / awayLength * avoidPush * urgency;
        const float along = sideX * wish.ux + sideZ * wish.uz;
        sideX -= along * wish.ux;
        sideZ -= along * wish.uz;
        wish.x += sideX;
        wish.z += sideZ;
        // A jump lifts the ball 1 unit in about 0.15 s and keeps it above
        // the height of a rolling enemy for about 1.3 s; an enemy already in
        // a hop would meet the ball in the air, so only low ones count.
        const bool low = offset.y < 0.8f && enemy->velocity.y < 3.0f;
        if (onFloor && low && nearest < 1.05f && seconds > 0.08f && seconds < 0.45f) {
            jumpNow = true;
        }
        if (onFloor && low && flat < jumpRadius && seconds < 0.45f && nearest < 1.05f) {
            jumpNow = true;
        }
    }
    return jumpNow;
}
}  // namespace

std::vector<int> Autopilot::distancesTo(const Grid& g, int goalRow, int goalColumn) {
    std::vector<int> dist(static_cast<size_t>(g.size * g.size), -1);
    if (!g.isFree(goalRow, goalColumn)) {
        return dist;
    }
    std::deque<int> open;
    dist[static_cast<size_t>(goalRow * g.size + goalColumn)] = 0;
    open.push_back(goalRow * g.size + goalColumn);
    while (!open.empty()) {
        const int here = open.front();
        open.pop_front();
        const int row = here / g.size;
        const int column = here % g.size;
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : steps) {
            const int r = row + step[0];
            const int c = column + step[1];
            if (g.isFree(r, c) && dist[static_cast<size_t>(r * g.size + c)] < 0) {
                dist[static_cast<size_t>(r * g.size + c)] = dist[static_cast<size_t>(here)] + 1;
                open.push_back(r * g.size + c);
            }
        }
    }
    return dist;
}

bool Autopilot::lineIsClear(const Grid& g, float ax, float az, float bx, float bz, float radius) {
    const float length = std::hypot(bx - ax, bz - az);
    // Samples a quarter of the footprint apart cannot step over a wall tile.
    const int samples = std::max(1, static_cast<int>(std::ceil(length / (0.25f * g.tileSize))));
    for (int i = 0; i <= samples; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(samples);
        if (!footprintFree(g, ax + (bx - ax) * t, az + (bz - az) * t, radius)) {
            return false;
        }
    }
    return true;
}

std::vector<int> Autopilot::costsTo(const Grid& g, int goalRow, int goalColumn, const std::vector<int>& penalty) {
    const size_t cells = static_cast<size_t>(g.size * g.size);
    std::vector<int> cost(cells, -1);
    if (!g.isFree(goalRow, goalColumn)) {
        return cost;
    }
    auto penaltyAt = [&](int index) {
        return index < static_cast<int>(penalty.size()) ? std::max(0, penalty[static_cast<size_t>(index)]) : 0;
    };
    // Dijkstra over the free tiles; the queue holds (cost, tile) with the
    // cheapest on top, stale entries are skipped when popped.
    std::priority_queue<std::pair<int, int>, std::vector<std::pair<int, int>>, std::greater<>> open;
    const int goal = goalRow * g.size + goalColumn;
    cost[static_cast<size_t>(goal)] = 0;
    open.push({0, goal});
    while (!open.empty()) {
        const auto [here, tile] = open.top();
        open.pop();
        if (here != cost[static_cast<size_t>(tile)]) {
            continue;
        }
        const int row = tile / g.size;
        const int column = tile % g.size;
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : steps) {
            const int r = row + step[0];
            const int c = column + step[1];
            if (!g.isFree(r, c)) {
                continue;
            }
            // A tile's own penalty is part of its cost, so that following
            // the lowest neighbour is following the cheapest path.
            const int next = r * g.size + c;
            const int through = here + stepCost + penaltyAt(next);
            int& known = cost[static_cast<size_t>(next)];
            if (known < 0 || through < known) {
                known = through;
                open.push({through, next});
            }
        }
    }
    return cost;
}

std::vector<int> Autopilot::crowdPenalty(const Grid& g, const std::vector<Vector3>& enemies) {
    std::vector<int> penalty(static_cast<size_t>(g.size * g.size), 0);
    // Per enemy: 12 on its own tile, 6 one tile away, 2 two tiles away
    // (Chebyshev rings), so a dense crowd costs many detour steps while a
    // single straggler costs about one.
    const int ring[3] = {12, 6, 2};
    for (const Vector3& e : enemies) {
        const int row = tileIndex(g.originZ, g.tileSize, e.z);
        const int column = tileIndex(g.originX, g.tileSize, e.x);
        for (int dr = -2; dr <= 2; ++dr) {
            for (int dc = -2; dc <= 2; ++dc) {
                const int r = row + dr;
                const int c = column + dc;
                if (r < 0 || c < 0 || r >= g.size || c >= g.size) {
                    continue;
                }
                penalty[static_cast<size_t>(r * g.size + c)] += ring[std::max(std::abs(dr), std::abs(dc))];
            }
        }
    }
    return penalty;
}

void Autopilot::closestApproach(const Vector3& offset, const Vector3& closing, float horizon, float& seconds,
                                float& nearest) {
    const float speed2 = closing.x * closing.x + closing.y * closing.y + closing.z * closing.z;
    const float along = offset.x * closing.x + offset.y * closing.y + offset.z * closing.z;
    seconds = speed2 > 1e-8f ? std::clamp(-along / speed2, 0.0f, horizon) : 0.0f;
    const float x = offset.x + closing.x * seconds;
    const float y = offset.y + closing.y * seconds;
    const float z = offset.z + closing.z * seconds;
    nearest = std::sqrt(x * x + y * y + z * z);
}

bool Autopilot::nextWaypoint(const Grid& g, const std::vector<int>& dist, float x, float z, float radius,
                             float& targetX, float& targetZ) {
    float afterX = 0.0f;
    float afterZ = 0.0f;
    return nextWaypoint(g, dist, x, z, radius, targetX, targetZ, afterX, afterZ);
}

bool Autopilot::nextWaypoint(const Grid& g, const std::vector<int>& dist, float x, float z, float radius,
                             float& targetX, float& targetZ, float& afterX, float& afterZ) {
    auto distanceAt = [&](int row, int column) {
        return g.isFree(row, column) ? dist[static_cast<size_t>(row * g.size + column)] : -1;
    };
    // The neighbour with the lowest value below the tile's own; false at the
    // goal (or where nothing leads down).
    auto downhill = [&](int& row, int& column) {
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        int best = distanceAt(row, column);
        int bestRow = row;
        int bestColumn = column;
        for (const auto& step : steps) {
            const int d = distanceAt(row + step[0], column + step[1]);
            if (d >= 0 && d < best) {
                best = d;
                bestRow = row + step[0];
                bestColumn = column + step[1];
            }
        }
        const bool moved = bestRow != row || bestColumn != column;
        row = bestRow;
        column = bestColumn;
        return moved;
    };
    int row = tileIndex(g.originZ, g.tileSize, z);
    int column = tileIndex(g.originX, g.tileSize, x);
    if (distanceAt(row, column) < 0) {
        // On a wall top, in a corner of the floor, or outside: make for the
        // nearest neighbouring tile that leads to the goal.
        int bestRow = -1;
        int bestColumn = -1;
        float best = 0.0f;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                if (distanceAt(row + dr, column + dc) < 0) {
                    continue;
                }
                const float d = std::hypot(tileCentre(g.originX, g.tileSize, column + dc) - x,
                                           tileCentre(g.originZ, g.tileSize, row + dr) - z);
                if (bestRow < 0 || d < best) {
                    best = d;
                    bestRow = row + dr;
                    bestColumn = column + dc;
                }
            }
        }
        if (bestRow < 0) {
            return false;
        }
        targetX = tileCentre(g.originX, g.tileSize, bestColumn);
        targetZ = tileCentre(g.originZ, g.tileSize, bestRow);
        int nextRow = bestRow;
        int nextColumn = bestColumn;
        downhill(nextRow, nextColumn);
        afterX = tileCentre(g.originX, g.tileSize, nextColumn);
        afterZ = tileCentre(g.originZ, g.tileSize, nextRow);
        return true;
    }

    // Walk down the field and keep the furthest tile in clear sight.
    targetX = tileCentre(g.originX, g.tileSize, column);
    targetZ = tileCentre(g.originZ, g.tileSize, row);
    int targetRow = row;
    int targetColumn = column;
    bool first = true;
    for (int i = 0; i < lookAhead && downhill(row, column); ++i) {
        const float cx = tileCentre(g.originX, g.tileSize, column);
        const float cz = tileCentre(g.originZ, g.tileSize, row);
        if (first || lineIsClear(g, x, z, cx, cz, radius)) {
            targetX = cx;
            targetZ = cz;
            targetRow = row;
            targetColumn = column;
        } else {
            break;
        }
        first = false;
    }
    downhill(targetRow, targetColumn);
    afterX = tileCentre(g.originX, g.tileSize, targetColumn);
    afterZ = tileCentre(g.originZ, g.tileSize, targetRow);
    return true;
}

int Autopilot::stepPixels(float change) {
    const float pixels = std::round(change * pixelsPerVelocityUnit);
    if (!(pixels < static_cast<float>(maxStepPixels))) {
        return pixels != pixels ? 0 : maxStepPixels;
    }
    if (pixels < static_cast<float>(-maxStepPixels)) {
        return -maxStepPixels;
    }
    return static_cast<int>(pixels);
}

bool Autopilot::insideWall(const SgLabyrinth& maze, const Vector3& p) {
    auto inside = [&p](const BoundingBox* box) {
        Vector3 low = box->corners[0];
        Vector3 high = box->corners[0];
        for (const Vector3& c : box->corners) {
            low = Vector3(std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z));
            high = Vector3(std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z));
        }
        return p.x > low.x && p.x < high.x && p.y > low.y && p.y < high.y && p.z > low.z && p.z < high.z;
    };
    for (const WallContainer* wall : maze.getWallContainers()) {
        if (wall->box != nullptr && inside(wall->box)) {
            return true;
        }
    }
    return maze.getStartWallBox() != nullptr && inside(maze.getStartWallBox());
}

Autopilot::Grid Autopilot::gridOf(const SgLabyrinth& m) {
    Grid g;
    g.size = m.getGridSize();
    const Tile* first = m.getTile(0, 0);
    g.originX = first->position.x;
    g.originZ = first->position.z;
    g.tileSize = first->size;
    g.free.resize(static_cast<size_t>(g.size * g.size));
    for (int row = 0; row < g.size; ++row) {
        for (int column = 0; column < g.size; ++column) {
            g.free[static_cast<size_t>(row * g.size + column)] = m.getTile(row, column)->isFree ? 1 : 0;
        }
    }
    return g;
}

void Autopilot::tick() {
    const double dt = TickClock::tickSeconds;
    if (mainGUI == nullptr || player == nullptr || labyrinth == nullptr) {
        return;
    }
    // Every new maze is built while the game is not playing (menu, won,
    // lost), so the plan is dropped there and made afresh on the next play.
    if (!mainGUI->isGameRunning()) {
        maze = nullptr;
        if (mainGUI->getMainIndex() != 0) {
            specialFunc(keyUp, 0, 0);
        } else {
            pressKey(keyEnter);
        }
        return;
    }
    if (playerWon || playerLost) {
        maze = nullptr;
        if (playerWon) {
            ++levelsWon;
        } else {
            ++levelsLost;
        }
        printf("autopilot: level %s after %.1f s, health %.0f\n", playerWon ? "won" : "lost", levelTime,
               static_cast<double>(player->health));
        levelTime = 0.0;
        if (finished()) {
            return;
        }
        pressKey(keyEnter);
        return;
    }
    levelTime += dt;
    if (levelTime > giveUpSeconds) {
        // A level this long means the plan is not working; start afresh.
        ++levelsLost;
        printf("autopilot: level given up after %.1f s\n", levelTime);
        levelTime = 0.0;
        maze = nullptr;
        if (finished()) {
            return;
        }
        pressKey(keyEsc);
        return;
    }
    steer(dt);
}

bool Autopilot::finished() const { return levelLimit > 0 && levelsWon + levelsLost >= levelLimit; }

void Autopilot::rebuild() {
    maze = labyrinth;
    grid = gridOf(*labyrinth);
    const Tile* goal = labyrinth->getGoal();
    goalColumn = tileIndex(grid.originX, grid.tileSize, goal->position.x + 0.5f * goal->size);
    goalRow = tileIndex(grid.originZ, grid.tileSize, goal->position.z + 0.5f * goal->size);
    stuckTime = 0.0;
    lastPosition = player->position;
    // The game let go of every action while the level was not in play.
    releaseKeys();
}

void Autopilot::steer(double dt) {
    if (maze != labyrinth) {
        rebuild();
    }
    const Vector3 p = player->position;
    const Vector3 v = player->velocity;
    const std::vector<const SgPhysEntity*> enemies = swarm();
    float targetX = p.x;
    float targetZ = p.z;
    bool atGoal = false;
    if (!planWaypoint(p, enemies, targetX, targetZ, atGoal)) {
        return;
    }
    Wish wish = wishTowards(p, targetX, targetZ, atGoal, player->maxSpeed);
    const bool jumpNow = dodge(p, v, enemies, wish);
    const float length = std::hypot(wish.x, wish.z);
    if (length > player->maxSpeed && length > 0.0f) {
        wish.x *= player->maxSpeed / length;
        wish.z *= player->maxSpeed / length;
    }
    if (steersByKeys) {
        holdKeys(wish.x - v.x, wish.z - v.z);
    } else {
        moveMouse(stepPixels(wish.x - v.x), stepPixels(wish.z - v.z));
    }
    if (jumpNow) {
        jump();
    }
    jumpWhenStuck(p, dt);
}

bool Autopilot::planWaypoint(const Vector3& p, const std::vector<const SgPhysEntity*>& enemies, float& targetX,
                             float& targetZ, bool& atGoal) {
    std::vector<Vector3> enemyPositions;
    for (const SgPhysEntity* enemy : enemies) {
        enemyPositions.push_back(enemy->position);
    }
    // The path is re-planned every tick around where the enemies are now.
    distances = costsTo(grid, goalRow, goalColumn, crowdPenalty(grid, enemyPositions));
    float afterX = p.x;
    float afterZ = p.z;
    if (!nextWaypoint(grid, distances, p.x, p.z, clearance, targetX, targetZ, afterX, afterZ)) {
        return false;
    }
    atGoal = afterX == targetX && afterZ == targetZ;
    // Round a corner as soon as the tile beyond it is in sight of the ball
    // itself (no margin): grazing a wall side costs a bounce, not health,
    // while braking into every corner lets the swarm close in.
    if (!atGoal && lineIsClear(grid, p.x, p.z, afterX, afterZ, ballRadius)) {
        targetX = afterX;
        targetZ = afterZ;
    }
    return true;
}

void Autopilot::jumpWhenStuck(const Vector3& p, double dt) {
    // Progress over the ground, not velocity: a ball pressed against a wall
    // can keep its velocity while going nowhere.
    const float moved = std::hypot(p.x - lastPosition.x, p.z - lastPosition.z);
    lastPosition = p;
    const bool stalled = dt <= 0.0 || moved < stuckSpeed * static_cast<float>(dt);
    stuckTime = stalled ? stuckTime + dt : 0.0;
    if (stuckTime > stuckSeconds) {
        stuckTime = 0.0;
        jump();
    }
}

void Autopilot::jump() {
    if (steersByKeys) {
        keyboardEvent('e', cursorX, cursorY);
        keyboardUpEvent('e', cursorX, cursorY);
        return;
    }
    mouseButtonFunc(buttonLeft, statePressed, cursorX, cursorY);
    mouseButtonFunc(buttonLeft, stateReleased, cursorX, cursorY);
}

void Autopilot::holdKeys(float changeX, float changeZ) {
    auto wanted = [](float change, int negative, int positive) {
        return change > keyDeadBand ? positive : change < -keyDeadBand ? negative : 0;
    };
    holdKey(keyX, wanted(changeX, keyLeft, keyRight));
    holdKey(keyZ, wanted(changeZ, keyUp, keyDown));
}

void Autopilot::holdKey(int& held, int wanted) {
    if (held == wanted) {
        return;
    }
    if (held != 0) {
        specialUpEvent(held, cursorX, cursorY);
    }
    if (wanted != 0) {
        specialEvent(wanted, cursorX, cursorY);
    }
    held = wanted;
}

void Autopilot::releaseKeys() {
    holdKey(keyX, 0);
    holdKey(keyZ, 0);
}

void Autopilot::pressKey(unsigned char key) { keyboardFunc(key, cursorX, cursorY); }

void Autopilot::moveMouse(int dx, int dy) {
    if (!cursorPlaced) {
        // The first event lands where the handler expects the cursor to be,
        // so it adds nothing.
        cursorX = width / 2;
        cursorY = height / 2;
        cursorPlaced = true;
        motionFunc(cursorX, cursorY);
    }
    const int x = std::clamp(cursorX + dx, 0, width - 1);
    const int y = std::clamp(cursorY + dy, 0, height - 1);
    motionFunc(x, y);
    cursorX = cursorKeptInside(x, width);
    cursorY = cursorKeptInside(y, height);
}
