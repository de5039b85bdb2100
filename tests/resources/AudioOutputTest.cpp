#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Music.h"
#include "resources/AudioManager.h"
#include "resources/TestFiles.h"

namespace {
uint32_t read32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t read16(const std::vector<unsigned char>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// Samples of a WAV file written by OpenAL Soft's wave device, as floats in
// -1..1 (interleaved channels). The device fills in the chunk lengths only
// when it closes, so everything after the data chunk's header is read.
std::vector<float> readWaveSamples(const std::string& path, int* channels, int* rate) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVE", 4) != 0) {
        return samples;
    }
    int format = 0;
    int bits = 0;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = read32(b, at + 4);
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
            format = read16(b, at + 8);
            *channels = read16(b, at + 10);
            *rate = static_cast<int>(read32(b, at + 12));
            bits = read16(b, at + 22);
            if (format == 0xFFFE && at + 34 <= b.size()) {
                format = read16(b, at + 32);  // first two bytes of the sub-format GUID
            }
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            for (size_t p = at + 8; p + bits / 8 <= b.size(); p += bits / 8) {
                if (format == 3 && bits == 32) {
                    float f;
                    std::memcpy(&f, &b[p], 4);
                    samples.push_back(f);
                } else if (format == 1 && bits == 16) {
                    samples.push_back(static_cast<int16_t>(read16(b, p)) / 32768.0f);
                } else if (format == 1 && bits == 8) {
                    samples.push_back((b[p] - 128) / 128.0f);
                } else {
                    ADD_FAILURE() << "unexpected wave format " << format << " with " << bits << " bits";
                    return samples;
                }
            }
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}
}  // namespace

// Plays through OpenAL Soft's wave-file device in a child process of its own
// (the device is chosen once per process) and listens to what was written.
TEST(AudioOutput, DrainSoundIsHeardUntilInGameSoundsStop) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string base = std::string(cwd) + "/kelvo_audio_output";
    const std::string wave = base + ".wav";
    const std::string config = base + ".conf";
    const std::string tone = base + "_tone.wav";
    {
        std::ofstream(config) << "drivers=wave\n[wave]\nfile=" << wave << "\n";
        const std::vector<unsigned char> bytes = toneWav(5.0, 440);
        std::ofstream(tone, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "wave", 1);
            setenv("ALSOFT_CONF", config.c_str(), 1);
            std::remove(wave.c_str());
            {
                AudioManager manager;
                if (!manager.init() || !manager.loadAndAddSound("playerDrainHealthSound", tone, Vector3(), false)) {
                    std::exit(3);
                }
                audioManager = &manager;
                manager.getSound("playerDrainHealthSound")->play();
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                stopIngameSounds();
                std::this_thread::sleep_for(std::chrono::milliseconds(400));
                audioManager = nullptr;
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");

    int channels = 0;
    int rate = 0;
    const std::vector<float> samples = readWaveSamples(wave, &channels, &rate);
    ASSERT_GT(channels, 0);
    ASSERT_GT(rate, 0);
    const size_t tail = static_cast<size_t>(rate / 10) * channels;
    ASSERT_GT(samples.size(), 3 * tail) << "at least 0.3 s were written";
    float loudest = 0;
    for (float s : samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    EXPECT_GT(loudest, 0.05f) << "the tone was played";
    float tailLoudest = 0;
    for (size_t i = samples.size() - tail; i < samples.size(); ++i) {
        tailLoudest = std::max(tailLoudest, std::fabs(samples[i]));
    }
    EXPECT_LT(tailLoudest, 1e-4f) << "the last 0.1 s after stopping are silent";
    std::remove(wave.c_str());
    std::remove(config.c_str());
    std::remove(tone.c_str());
}
