#include "resources/AudioManager.h"

#include <cstdio>
#include <utility>

#include <AL/al.h>
#include <AL/alut.h>

AudioManager::AudioManager() = default;

AudioManager::~AudioManager() {
    if (!available) {
        return;
    }
    for (auto& sound : sounds) {
        release(*sound);
    }
    sounds.clear();
    alutExit();
}

bool AudioManager::init() {
    if (available) {
        return true;
    }
    if (alutInit(nullptr, nullptr) != AL_TRUE) {
        fprintf(stderr, "no audio, playing silently: %s\n", alutGetErrorString(alutGetError()));
        return false;
    }
    available = true;
    return true;
}

bool AudioManager::loadAndAddSound(std::string name, std::string file, const Vector3& position, bool loop) {
    if (!available) {
        return false;
    }
    alGetError();
    const ALuint buffer = alutCreateBufferFromFile(file.c_str());
    if (buffer == AL_NONE) {
        fprintf(stderr, "cannot load sound %s: %s\n", file.c_str(), alutGetErrorString(alutGetError()));
        return false;
    }
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return false;
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    auto sound = std::make_unique<AudioEntity>(std::move(name), position, source, loop);
    sound->buffer = buffer;
    sounds.push_back(std::move(sound));
    return true;
}

AudioEntity* AudioManager::getSound(std::string name) {
    for (const auto& sound : sounds) {
        if (sound->name == name) {
            return sound.get();
        }
    }
    return nullptr;
}

void AudioManager::deleteSound(std::string name) {
    for (auto it = sounds.begin(); it != sounds.end(); ++it) {
        if ((*it)->name == name) {
            release(**it);
            sounds.erase(it);
            return;
        }
    }
}

void AudioManager::setListenerPos(const Vector3& position) {
    listenerPosition = position;
    if (available) {
        alListener3f(AL_POSITION, position.x, position.y, position.z);
    }
}

void AudioManager::setListenerOrientation(const Vector3& at, const Vector3& up) {
    const Vector3 forward = at - listenerPosition;
    // OpenAL Soft takes the up vector as given when it builds the listener's
    // frame: with the camera looking down at the ball, an up of (0, 1, 0)
    // skewed that frame, stretching every distance by a third and putting
    // the ball below the listener. Only the part of `up` square to the
    // forward vector is handed on.
    Vector3 square = up;
    const float along = forward.dot(forward);
    if (along > 0.0f) {
        square -= forward * (up.dot(forward) / along);
    }
    if (square.dot(square) < 1e-12f * up.dot(up)) {
        square = up;  // looking straight along `up`: no frame is right
    }
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, square.x, square.y, square.z};
    if (available) {
        alListenerfv(AL_ORIENTATION, orientation);
    }
}

void AudioManager::release(AudioEntity& sound) {
    // The source must let go of its buffer before the buffer can be deleted.
    alSourceStop(sound.source);
    alSourcei(sound.source, AL_BUFFER, 0);
    alDeleteSources(1, &sound.source);
    alDeleteBuffers(1, &sound.buffer);
}
