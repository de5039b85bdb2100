#pragma once

#include <list>
#include <memory>
#include <string>

#include "resources/AudioEntity.h"
#include "sg/Vector3.h"

// Named sounds played through OpenAL, WAV files loaded with ALUT. Without an
// audio device (init() failed or was not called) the manager stays usable but
// silent: loads fail, look-ups find nothing and no OpenAL call is made.
class AudioManager {
public:
    AudioManager();
    // Releases every sound and, when init() succeeded, the OpenAL context.
    ~AudioManager();
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    // Opens the default audio device and context; false when there is none.
    // Only one manager per process can hold the context at a time.
    bool init();
    bool isAvailable() const { return available; }

    // Loads a WAV file into a new source and registers it under `name`;
    // false (nothing registered) when the file or a source cannot be had.
    bool loadAndAddSound(std::string name, std::string file, const Vector3& position, bool loop);
    // First sound called `name`, or null when there is none.
    AudioEntity* getSound(std::string name);
    // Releases the first sound called `name`; does nothing when there is none.
    void deleteSound(std::string name);

    void setListenerPos(const Vector3& position);
    // Faces the listener from the position last given to setListenerPos
    // towards `at` (the forward vector is not normalised), with `up`, made
    // square to the forward vector, as up.
    void setListenerOrientation(const Vector3& at, const Vector3& up);

    Vector3 listenerPosition;

private:
    void release(AudioEntity& sound);

    std::list<std::unique_ptr<AudioEntity>> sounds;
    bool available = false;
};
