#include "replay/ReplayRecorder.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"

namespace {
constexpr const char* extension = ".replay";

std::string timeName(std::time_t when) {
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", std::localtime(&when));
    return text;
}
}  // namespace

ReplayRecorder::ReplayRecorder(const Replay& header) : recorded(header) {
    recorded.ticks.clear();
    recorded.events.clear();
}

void ReplayRecorder::input(const InputEvent& event) { recorded.events.push_back(event); }

void ReplayRecorder::endTick(uint64_t stateHash) {
    Replay::Tick tick;
    tick.check = static_cast<uint32_t>(stateHash);
    tick.firstEvent = static_cast<uint32_t>(firstPending);
    tick.eventCount = static_cast<uint32_t>(recorded.events.size() - firstPending);
    recorded.ticks.push_back(tick);
    recorded.finalHash = stateHash;
    firstPending = recorded.events.size();
}

bool ReplayRecorder::save(const std::string& folder, std::string& path, std::string& error, std::time_t savedAt) {
    if (folder.empty()) {
        error = "no home folder to save into";
        return false;
    }
    if (!UserFolders::ensureFolder(folder)) {
        error = "cannot create " + folder;
        return false;
    }
    // Two runs ending within one second get distinct names.
    const std::string stem = folder + "/" + timeName(savedAt);
    path = stem + extension;
    std::error_code ignored;
    for (int n = 2; std::filesystem::exists(std::filesystem::u8path(path), ignored) && n < 1000; ++n) {
        path = stem + "_" + std::to_string(n) + extension;
    }
    if (!AtomicFile::write(path, recorded.encode(), &error)) {
        return false;
    }
    prune(folder, keep);
    return true;
}

void ReplayRecorder::prune(const std::string& folder, int count) {
    std::error_code failed;
    std::vector<std::filesystem::path> replays;
    for (std::filesystem::directory_iterator it(std::filesystem::u8path(folder), failed), end; !failed && it != end; it.increment(failed)) {
        if (it->path().extension() == extension && it->is_regular_file(failed)) {
            replays.push_back(it->path());
        }
    }
    if (static_cast<int>(replays.size()) <= count) {
        return;
    }
    std::sort(replays.begin(), replays.end());
    for (std::size_t i = 0; i + static_cast<std::size_t>(count) < replays.size(); ++i) {
        std::filesystem::remove(replays[i], failed);
    }
}
