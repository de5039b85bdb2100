#include "app/FrameHooks.h"

FrameHooks frameHooks;

void FrameHooks::tickBegins() const {
    if (beforeTick) {
        beforeTick();
    }
}

void FrameHooks::tickEnded() const {
    for (const std::function<void()>& observer : afterTick) {
        observer();
    }
}

void FrameHooks::frameDrawn(const FrameTimes& times) const {
    for (const std::function<void(const FrameTimes&)>& observer : afterFrame) {
        observer(times);
    }
}

bool FrameHooks::screenStill() const { return stillScreen && stillScreen(); }

void FrameHooks::inputArrived(const InputEvent& event) const {
    for (const std::function<void(const InputEvent&)>& listener : input) {
        listener(event);
    }
}
