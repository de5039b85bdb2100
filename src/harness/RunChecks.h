#pragma once

// The checks and traces an unattended run asks for, run through the frame
// hooks.
class RunChecks {
public:
    // --check-walls, after every tick: aborts when the ball's centre ended
    // the tick inside a wall box.
    static void ballOutsideWalls();
    // --trace-ball, after every drawn frame: prints the ball's tile whenever
    // it changes during play, and when it leaves the floor; the first lines of every game give the start
    // tile and the size the swarm may grow to.
    void traceBallTile();

private:
    bool wasPlaying = false;
    bool wasOnFloor = false;
    int column = 0;
    int row = 0;
};
