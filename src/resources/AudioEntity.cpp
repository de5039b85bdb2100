#include "resources/AudioEntity.h"

#include <utility>

#include <AL/al.h>

AudioEntity::AudioEntity(std::string name, const Vector3& position, unsigned source, bool loop)
    : position(position), loop(loop), name(std::move(name)), source(source) {
    alSource3f(source, AL_POSITION, position.x, position.y, position.z);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
}

void AudioEntity::play() { alSourcePlay(source); }

void AudioEntity::stop() { alSourceStop(source); }

void AudioEntity::rewind() { alSourceRewind(source); }

void AudioEntity::setPosition(const Vector3& newPosition) {
    position = newPosition;
    alSource3f(source, AL_POSITION, position.x, position.y, position.z);
}

void AudioEntity::setListenerRelative(bool relative) {
    alSourcei(source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
}

void AudioEntity::setReferenceDistance(float distance) { alSourcef(source, AL_REFERENCE_DISTANCE, distance); }

void AudioEntity::setGain(float gain) { alSourcef(source, AL_GAIN, gain); }
