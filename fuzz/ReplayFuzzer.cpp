// libFuzzer target: feeds arbitrary bytes to the replay reader. Whatever it
// accepts must survive a round trip through the writer unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!Replay::decode(bytes, "1.0.0", replay, error)) {
        if (error.empty() || error.find('\n') != std::string::npos) {
            abort();
        }
        return 0;
    }
    Replay again;
    if (!Replay::decode(replay.encode(), "1.0.0", again, error) || again.encode() != replay.encode()) {
        abort();
    }
    return 0;
}
