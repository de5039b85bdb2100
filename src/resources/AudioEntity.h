#pragma once

#include <string>

#include "sg/Vector3.h"

// One named sound: an OpenAL source playing one buffer. Created by
// AudioManager only while an OpenAL context exists.
class AudioEntity {
public:
    // Sets the source's position and looping flag.
    AudioEntity(std::string name, const Vector3& position, unsigned source, bool loop);

    // Starts the sound; a playing source restarts from the beginning.
    void play();
    void stop();
    void rewind();
    void setPosition(const Vector3& position);
    // A listener-relative source takes its position from the listener's
    // point of view: at (0, 0, 0) it plays at its recorded level, unpanned,
    // wherever the listener is (music). A world source (the default) is
    // placed in the world and fades with its distance from the listener.
    void setListenerRelative(bool relative);
    // Distance in world units up to which a world source plays at its
    // recorded level; beyond it the level falls inversely with distance.
    void setReferenceDistance(float distance);
    // Loudness as a factor of the file's own (0 silent, 1 as recorded).
    void setGain(float gain);

    Vector3 position;
    bool loop;
    std::string name;
    unsigned source;
    // The buffer the source plays; released together with the source.
    unsigned buffer = 0;
};
