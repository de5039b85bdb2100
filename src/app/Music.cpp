#include "app/Music.h"

#include <cmath>

#include "app/Globals.h"
#include "profile/PlayerFiles.h"
#include "resources/AudioManager.h"
#include "sg/SgCamera.h"

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

void loadGameSounds(AudioManager& manager) {
    manager.loadAndAddSound("playerDrainHealthSound", "data/sounds/healthDrain.wav", Vector3(0, 0, 0), false);
    manager.loadAndAddSound("mainMenuSound", "data/sounds/mainMenu3.wav", Vector3(0, 0, 0), true);
    manager.loadAndAddSound("backgroundSound", "data/sounds/background.wav", Vector3(0, 0, 0), true);
    // Music is not placed in the maze: at the world origin it reached the
    // camera, tens of units away, some 40 dB too quiet to hear.
    for (const char* music : {"mainMenuSound", "backgroundSound"}) {
        if (AudioEntity* sound = manager.getSound(music)) {
            sound->setListenerRelative(true);
        }
    }
    // Heard from the following camera at its recorded level; fainter only
    // when the camera zooms out.
    if (AudioEntity* drain = manager.getSound("playerDrainHealthSound")) {
        drain->setReferenceDistance(std::hypot(SgCamera::followHeight, SgCamera::followDistance));
    }
}

void startIngameSounds() { play("backgroundSound"); }

void stopIngameSounds() {
    stop("backgroundSound");
    stop("playerDrainHealthSound");
}

void startMenuSounds() { play("mainMenuSound"); }

void stopMenuSounds() { stop("mainMenuSound"); }

void applyVolumes() {
    const float music = static_cast<float>(settings.musicVolume) / 100.0f;
    const float effects = static_cast<float>(settings.effectsVolume) / 100.0f;
    for (const char* name : {"mainMenuSound", "backgroundSound"}) {
        if (AudioEntity* sound = findSound(name)) {
            sound->setGain(music);
        }
    }
    if (AudioEntity* drain = findSound("playerDrainHealthSound")) {
        drain->setGain(effects);
    }
}
