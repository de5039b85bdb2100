#pragma once

// Callback of every wall-top trigger: drains the player's health by about 100
// per second (100 / currentFPS per call) while the ball rests on a wall;
// below 1 the health drops to 0.
void wallTriggerFunc();
