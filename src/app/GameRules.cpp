#include "app/GameRules.h"

#include "app/Globals.h"
#include "physics/SgPlayer.h"

void wallTriggerFunc() {
    if (player == nullptr) {
        return;
    }
    if (player->health >= 1.0f) {
        // currentFPS counts the previous second's frames; it is never 0 in
        // play, but a stalled second must not turn the drain into infinity.
        const unsigned fps = currentFPS > 0 ? currentFPS : 1;
        player->health -= 100.0f / static_cast<float>(fps);
    } else {
        player->health = 0.0f;
    }
}
