#include "app/Music.h"

#include "app/Globals.h"

namespace {
AudioEntity* findSound(const char* name) { return audioManager != nullptr ? audioManager->getSound(name) : nullptr; }

void play(const char* name) {
    if (AudioEntity* sound = findSound(name)) {
        sound->play();
    }
}

void stop(const char* name) {
    if (AudioEntity* sound = findSound(name)) {
        sound->stop();
    }
}
}  // namespace

void startIngameSounds() { play("backgroundSound"); }

void stopIngameSounds() {
    stop("backgroundSound");
    stop("playerDrainHealthSound");
}

void startMenuSounds() { play("mainMenuSound"); }

void stopMenuSounds() { stop("mainMenuSound"); }
