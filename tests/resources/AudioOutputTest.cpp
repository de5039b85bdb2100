#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Music.h"
#include "resources/AudioManager.h"
#include "sg/SgCamera.h"
#include "support/ScopedEnvironment.h"

namespace {
uint32_t read32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t read16(const std::vector<unsigned char>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// A WAV file, possibly one OpenAL Soft's wave device is still writing: the
// device fills in the chunk lengths only when it closes, so everything after
// the data chunk's header counts. Samples are floats in -1..1, channels
// interleaved.
struct Wave {
    int channels = 0;
    int rate = 0;
    int bytesPerSample = 0;
    size_t dataOffset = 0;  // 0 while the header has not been written
    std::vector<float> samples;

    // Samples from `from` to `to` seconds (all channels), clipped to the file.
    std::pair<const float*, const float*> stretch(double from, double to) const {
        auto at = [&](double t) {
            return samples.data() + std::min(static_cast<size_t>(t * rate) * channels, samples.size());
        };
        return {at(from), at(to)};
    }
    // Mean square times seconds, all channels' power added (a mono sound
    // in the middle of two speakers plays at -3 dB in each): independent of
    // the sample rate and of the silence around a short sound.
    double energy(double from, double to) const {
        double sum = 0;
        for (auto [p, end] = stretch(from, to); p < end; ++p) {
            sum += *p * *p;
        }
        return sum / rate;
    }
    float loudest(double from, double to) const {
        float peak = 0;
        for (auto [p, end] = stretch(from, to); p < end; ++p) {
            peak = std::max(peak, std::fabs(*p));
        }
        return peak;
    }
};

Wave readWave(const std::string& path, bool headerOnly = false) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b(headerOnly ? 256 : 0);
    if (headerOnly) {
        in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
        b.resize(static_cast<size_t>(in.gcount()));
    } else {
        b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Wave wave;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVE", 4) != 0) {
        return wave;
    }
    int format = 0;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = read32(b, at + 4);
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
            format = read16(b, at + 8);
            wave.channels = read16(b, at + 10);
            wave.rate = static_cast<int>(read32(b, at + 12));
            wave.bytesPerSample = read16(b, at + 22) / 8;
            if (format == 0xFFFE && at + 34 <= b.size()) {
                format = read16(b, at + 32);  // first two bytes of the sub-format GUID
            }
        } else if (std::memcmp(&b[at], "data", 4) == 0 && wave.bytesPerSample > 0) {
            wave.dataOffset = at + 8;
            for (size_t p = at + 8; !headerOnly && p + wave.bytesPerSample <= b.size(); p += wave.bytesPerSample) {
                if (format == 3 && wave.bytesPerSample == 4) {
                    float f;
                    std::memcpy(&f, &b[p], 4);
                    wave.samples.push_back(f);
                } else if (format == 1 && wave.bytesPerSample == 2) {
                    wave.samples.push_back(static_cast<int16_t>(read16(b, p)) / 32768.0f);
                } else {
                    ADD_FAILURE() << "unexpected wave format " << format << " with " << wave.bytesPerSample << " bytes";
                    return wave;
                }
            }
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

// Seconds of sound the wave device has written so far. The device writes in
// real time, so waiting for the file rather than the clock keeps a slow or
// busy machine from cutting a stretch short.
class WaveClock {
public:
    explicit WaveClock(std::string path) : path(std::move(path)) {}
    double now() {
        if (header.dataOffset == 0) {
            header = readWave(path, true);
            if (header.dataOffset == 0) {
                return 0;
            }
        }
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        const double frameBytes = static_cast<double>(header.bytesPerSample) * header.channels;
        return error || size < header.dataOffset ? 0 : (size - header.dataOffset) / frameBytes / header.rate;
    }
    // Waits until `done` holds, at most ten seconds; the process ends with
    // code 4 when the device stalls.
    template <typename Condition>
    void waitFor(Condition done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit) {
                std::exit(4);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    double waitUntil(double seconds) {
        waitFor([&] { return now() >= seconds; });
        return seconds;
    }

private:
    std::string path;
    Wave header;
};

double decibels(double ratio) { return 10 * std::log10(ratio); }
}  // namespace

// Plays the game's own sounds, set up as the game sets them up, through
// OpenAL Soft's wave-file device in a child process of its own (the device is
// chosen once per process), and listens to what was written.
TEST(AudioOutput, DrainSoundsFromTheBallAndStopsWithTheInGameSounds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string base = std::string(cwd) + "/kelvo_audio_output";
    const std::string wave = base + ".wav";
    const std::string config = base + ".conf";
    const std::string marks = base + ".marks";
    std::ofstream(config) << "drivers=wave\n[wave]\nfile=" << wave << "\n";
    EXPECT_EXIT(
        {
            setEnvironment("ALSOFT_DRIVERS", "wave");
            setEnvironment("ALSOFT_CONF", config.c_str());
            std::remove(wave.c_str());
            if (chdir(KELVO_SRC) != 0) {
                std::exit(2);
            }
            {
                AudioManager manager;
                if (!manager.init()) {
                    std::exit(3);
                }
                loadGameSounds(manager);
                AudioEntity* drain = manager.getSound("playerDrainHealthSound");
                if (drain == nullptr || manager.getSound("backgroundSound") == nullptr) {
                    std::exit(3);
                }
                audioManager = &manager;
                WaveClock clock(wave);
                std::ofstream out(marks);
                auto playing = [&] {
                    ALint state = 0;
                    alGetSourcei(drain->source, AL_SOURCE_STATE, &state);
                    return state == AL_PLAYING;
                };
                // Heard from the following camera's place, then from three
                // times as far away (zoomed out); each time the drain starts
                // where the ball is, as the health monitor starts it.
                const Vector3 ball(14, 0.5f, -9);
                for (float away : {1.0f, 3.0f}) {
                    manager.setListenerPos(ball + Vector3(0, SgCamera::followHeight, SgCamera::followDistance) * away);
                    manager.setListenerOrientation(ball, Vector3(0, 1, 0));
                    drain->setPosition(ball);
                    out << clock.now() << ' ';
                    drain->play();
                    clock.waitFor([&] { return !playing(); });
                    out << clock.waitUntil(clock.now() + 0.2) << ' ';
                }
                // Leaving play while the drain sounds silences it with the music.
                startIngameSounds();
                drain->play();
                const double start = clock.now();
                clock.waitUntil(start + 0.05);
                stopIngameSounds();
                const double stop = clock.now();
                clock.waitUntil(stop + 0.3);
                out << start << ' ' << stop << '\n';
                audioManager = nullptr;
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");

    const Wave written = readWave(wave);
    ASSERT_GT(written.channels, 0);
    ASSERT_GT(written.rate, 0);
    double nearFrom = 0, nearTo = 0, farFrom = 0, farTo = 0, start = 0, stop = 0;
    ASSERT_TRUE(std::ifstream(marks) >> nearFrom >> nearTo >> farFrom >> farTo >> start >> stop);
    const Wave file = readWave(std::string(KELVO_SRC) + "/data/sounds/healthDrain.wav");
    ASSERT_GT(file.rate, 0);
    const double near = written.energy(nearFrom, nearTo);
    const double far = written.energy(farFrom, farTo);
    const double recorded = file.energy(0, 1e9);
    EXPECT_NEAR(decibels(near / recorded), 0, 6) << "at the camera's usual distance the drain plays at its own level";
    EXPECT_GT(decibels(near / far), 6) << "three times as far is clearly fainter";

    EXPECT_GT(written.loudest(start, stop), 0.01) << "the drain and the music were playing";
    EXPECT_LT(written.loudest(stop + 0.1, stop + 0.3), 1e-4f) << "silent after the in-game sounds stopped";
    std::remove(wave.c_str());
    std::remove(config.c_str());
    std::remove(marks.c_str());
}
