#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "app/InputEvent.h"
#include "replay/Replay.h"

// Collects a run as it is played: every event the handlers receive, and at
// the end of each tick the state hash after it. Events that arrive after the
// last tick (the key that quit) changed nothing a tick saw and are left out.
class ReplayRecorder {
public:
    // Replays kept in the folder; older ones are deleted after each save.
    static constexpr int keep = 50;

    // `header` carries the version, seed and settings; ticks are added here.
    explicit ReplayRecorder(const Replay& header);

    void input(const InputEvent& event);
    void endTick(uint64_t stateHash);
    const Replay& replay() const { return recorded; }

    // Writes the replay atomically into `folder` (created when missing)
    // under a name from the local date and time `savedAt`, e.g.
    // 2026-12-08_14-03-59.replay (2026-12-08_14-03-59_2.replay when that is
    // taken), then deletes all but the newest `keep` replays there. False
    // with `error` when nothing could be saved.
    bool save(const std::string& folder, std::string& path, std::string& error,
              std::time_t savedAt = std::time(nullptr));
    // Deletes the oldest *.replay files in `folder` beyond `count`; the names
    // sort by the time they were saved.
    static void prune(const std::string& folder, int count);

private:
    Replay recorded;
    std::size_t firstPending = 0;
};
