#include "app/Autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>

#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/ProcessEnd.h"
#include "gui/SgGUI.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/BoundingBox.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"

namespace {
constexpr unsigned char keyEnter = 13;
constexpr unsigned char keyEsc = 27;
constexpr int keyUp = 101;  // GLUT_KEY_UP
constexpr int buttonLeft = 0;
constexpr int statePressed = 0;
constexpr int stateReleased = 1;
// Tiles looked ahead along the path when cutting corners.
constexpr int lookAhead = 6;
// The ball's radius, plus a little room so it does not graze the corners.
constexpr float clearance = 0.65f;
// Below this horizontal speed (units/s) a ball that is pushed counts as stuck.
constexpr float stuckSpeed = 0.6f;
// Enemies nearer than avoidRadius (units, over the floor) push the wished-for
// velocity away by up to avoidPush units/s; nearer than jumpRadius the ball
// jumps over them.
constexpr float avoidRadius = 3.0f;
constexpr float avoidPush = 4.0f;
constexpr float jumpRadius = 1.6f;

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

bool Autopilot::nextWaypoint(const Grid& g, const std::vector<int>& dist, float x, float z, float radius,
                             float& targetX, float& targetZ) {
    auto distanceAt = [&](int row, int column) {
        return g.isFree(row, column) ? dist[static_cast<size_t>(row * g.size + column)] : -1;
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
        return true;
    }

    // Walk down the distance field and keep the furthest tile in clear sight.
    targetX = tileCentre(g.originX, g.tileSize, column);
    targetZ = tileCentre(g.originZ, g.tileSize, row);
    bool first = true;
    for (int i = 0; i < lookAhead && distanceAt(row, column) > 0; ++i) {
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : steps) {
            const int d = distanceAt(row + step[0], column + step[1]);
            if (d >= 0 && d < distanceAt(row, column)) {
                row += step[0];
                column += step[1];
                break;
            }
        }
        const float cx = tileCentre(g.originX, g.tileSize, column);
        const float cz = tileCentre(g.originZ, g.tileSize, row);
        if (first || lineIsClear(g, x, z, cx, cz, radius)) {
            targetX = cx;
            targetZ = cz;
        } else {
            break;
        }
        first = false;
    }
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

int Autopilot::cursorAfter(int sent, int extent) {
    if (sent >= extent - 1) {
        return 2;
    }
    if (sent <= 0) {
        return extent - 2;
    }
    return sent;
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

void Autopilot::frame(double elapsedSeconds) {
    // Game time, as the world saw it this frame.
    const double dt = simulationStep(elapsedSeconds);
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
        finishIfDone();
        pressKey(keyEnter);
        return;
    }
    if (gamePaused) {
        return;
    }
    levelTime += dt;
    if (levelTime > giveUpSeconds) {
        // A level this long means the plan is not working; start afresh.
        ++levelsLost;
        printf("autopilot: level given up after %.1f s\n", levelTime);
        levelTime = 0.0;
        maze = nullptr;
        finishIfDone();
        pressKey(keyEsc);
        return;
    }
    steer(dt);
}

void Autopilot::finishIfDone() {
    if (levelLimit > 0 && levelsWon + levelsLost >= levelLimit) {
        endProcess(0);
    }
}

void Autopilot::rebuild() {
    maze = labyrinth;
    grid = gridOf(*labyrinth);
    const Tile* goal = labyrinth->getGoal();
    const int goalColumn = tileIndex(grid.originX, grid.tileSize, goal->position.x + 0.5f * goal->size);
    const int goalRow = tileIndex(grid.originZ, grid.tileSize, goal->position.z + 0.5f * goal->size);
    distances = distancesTo(grid, goalRow, goalColumn);
    stuckTime = 0.0;
    lastPosition = player->position;
}

void Autopilot::steer(double dt) {
    if (maze != labyrinth) {
        rebuild();
    }
    const Vector3 p = player->position;
    float targetX = p.x;
    float targetZ = p.z;
    if (!nextWaypoint(grid, distances, p.x, p.z, clearance, targetX, targetZ)) {
        return;
    }
    float wantX = targetX - p.x;
    float wantZ = targetZ - p.z;
    const float distance = std::hypot(wantX, wantZ);
    // Full speed towards the waypoint; it moves on before the ball gets there,
    // except at the goal, where arriving is the point.
    const float speed = std::min(player->maxSpeed, std::max(1.5f, 4.0f * distance));
    if (distance > 1e-4f) {
        wantX *= speed / distance;
        wantZ *= speed / distance;
    }
    // Enemies close by push the wish away from them, and one about to touch
    // the ball is jumped over when the ball is on the floor.
    bool enemyClose = false;
    if (particleController != nullptr) {
        for (const SgEntity* child : particleController->getChildren()) {
            const Vector3& q = static_cast<const SgSpatialEntity*>(child)->position;
            const float ax = p.x - q.x;
            const float az = p.z - q.z;
            const float d = std::hypot(ax, az);
            if (d < avoidRadius && d > 1e-3f && std::fabs(q.y - p.y) < 1.5f) {
                // Only sideways: slowing down in a corridor lets the swarm
                // catch up, so the push never works against the path.
                const float push = avoidPush * (avoidRadius - d) / avoidRadius;
                float sideX = ax / d * push;
                float sideZ = az / d * push;
                if (distance > 1e-4f) {
                    const float ux = (targetX - p.x) / distance;
                    const float uz = (targetZ - p.z) / distance;
                    const float along = sideX * ux + sideZ * uz;
                    sideX -= along * ux;
                    sideZ -= along * uz;
                }
                wantX += sideX;
                wantZ += sideZ;
                // Jump only what lies ahead.
                const bool ahead = -(ax * (targetX - p.x) + az * (targetZ - p.z)) > 0.0f;
                enemyClose = enemyClose || (d < jumpRadius && ahead);
            }
        }
    }
    const float wish = std::hypot(wantX, wantZ);
    if (wish > player->maxSpeed && wish > 0.0f) {
        wantX *= player->maxSpeed / wish;
        wantZ *= player->maxSpeed / wish;
    }
    moveMouse(stepPixels(wantX - player->velocity.x), stepPixels(wantZ - player->velocity.z));
    if (enemyClose) {
        jump();
    }

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
    mouseButtonFunc(buttonLeft, statePressed, cursorX, cursorY);
    mouseButtonFunc(buttonLeft, stateReleased, cursorX, cursorY);
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
    cursorX = cursorAfter(x, width);
    cursorY = cursorAfter(y, height);
}
