#include <cstdlib>
#include <filesystem>
#include <string>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Music.h"
#include "profile/PlayerFiles.h"
#include "resources/AudioManager.h"
#include "resources/TestFiles.h"
#include "support/ScopedEnvironment.h"

namespace {
// OpenAL Soft reads its driver list once per process, before the first device
// is opened; every test here plays into its null device.
class AudioManagerTest : public testing::Test {
protected:
    static void SetUpTestSuite() { setEnvironment("ALSOFT_DRIVERS", "null"); }

    void SetUp() override {
        tone = writeTempFile("tone", toneWav(0.2, 440));
        ASSERT_TRUE(manager.init());
    }
    void TearDown() override { audioManager = nullptr; }

    ALint state(AudioEntity* sound) {
        ALint value = 0;
        alGetSourcei(sound->source, AL_SOURCE_STATE, &value);
        return value;
    }

    std::string tone;
    AudioManager manager;
};
}  // namespace

TEST_F(AudioManagerTest, SoundsAreFoundAndDeletedFirstComeFirst) {
    EXPECT_EQ(manager.getSound("drain"), nullptr);
    manager.deleteSound("drain");

    ASSERT_TRUE(manager.loadAndAddSound("drain", tone, Vector3(1, 2, 3), false));
    ASSERT_TRUE(manager.loadAndAddSound("drain", tone, Vector3(), true));
    ASSERT_TRUE(manager.loadAndAddSound("music", tone, Vector3(), true));
    AudioEntity* first = manager.getSound("drain");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->loop);
    EXPECT_EQ(first->position, Vector3(1, 2, 3));
    const ALuint firstSource = first->source;
    ALfloat pos[3] = {0, 0, 0};
    alGetSourcefv(firstSource, AL_POSITION, pos);
    EXPECT_EQ(pos[1], 2.0f);
    ALint looping = -1;
    alGetSourcei(manager.getSound("music")->source, AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);

    manager.deleteSound("unknown");
    EXPECT_EQ(manager.getSound("drain"), first) << "deleting an unknown name changes nothing";
    EXPECT_EQ(manager.getSound("Drain"), nullptr) << "names compare exactly";

    manager.deleteSound("drain");
    EXPECT_FALSE(alIsSource(firstSource)) << "the first one's source is released";
    AudioEntity* second = manager.getSound("drain");
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->loop) << "the second one is left";
    manager.deleteSound("drain");
    EXPECT_EQ(manager.getSound("drain"), nullptr);
    EXPECT_NE(manager.getSound("music"), nullptr);
}

TEST_F(AudioManagerTest, UnreadableFilesRegisterNothing) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager.loadAndAddSound("gone", "/nonexistent/sound.wav", Vector3(), false));
    EXPECT_FALSE(manager.loadAndAddSound("junk", writeTempFile("junk", {'R', 'I', 'F', 'F', 1, 2}), Vector3(), false));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("/nonexistent/sound.wav"), std::string::npos) << err;
    EXPECT_EQ(manager.getSound("gone"), nullptr);
    EXPECT_EQ(manager.getSound("junk"), nullptr);
}

TEST_F(AudioManagerTest, ListenerFacesFromTheStoredPosition) {
    manager.setListenerPos(Vector3(1, 2, 3));
    manager.setListenerOrientation(Vector3(4, 2, -1), Vector3(0, 1, 0));
    ALfloat pos[3] = {0, 0, 0};
    alGetListenerfv(AL_POSITION, pos);
    EXPECT_EQ(pos[0], 1.0f);
    EXPECT_EQ(pos[2], 3.0f);
    ALfloat orientation[6] = {0, 0, 0, 0, 0, 0};
    alGetListenerfv(AL_ORIENTATION, orientation);
    const ALfloat expected[6] = {3, 0, -4, 0, 1, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(orientation[i], expected[i]) << i;
    }

    // Looking down at the ball, up tips forward to stay square to forward
    // (OpenAL Soft would otherwise skew its frame and misjudge distances).
    manager.setListenerOrientation(Vector3(1, -1, 1), Vector3(0, 1, 0));
    alGetListenerfv(AL_ORIENTATION, orientation);
    const Vector3 forward(orientation[0], orientation[1], orientation[2]);
    const Vector3 up(orientation[3], orientation[4], orientation[5]);
    EXPECT_EQ(forward, Vector3(0, -3, -2));
    EXPECT_NEAR(forward.dot(up), 0.0f, 1e-5f);
    EXPECT_GT(up.y, 0.0f);
    EXPECT_LT(up.z, 0.0f) << "tipped forward, as the top of a head looking down";
}

TEST_F(AudioManagerTest, MusicSwitchesBetweenMenuAndGame) {
    startIngameSounds();
    stopMenuSounds();
    stopIngameSounds();

    audioManager = &manager;
    startMenuSounds();
    startIngameSounds();
    stopIngameSounds();
    stopMenuSounds();

    ASSERT_TRUE(manager.loadAndAddSound("playerDrainHealthSound", tone, Vector3(), false));
    ASSERT_TRUE(manager.loadAndAddSound("mainMenuSound", tone, Vector3(), true));
    ASSERT_TRUE(manager.loadAndAddSound("backgroundSound", tone, Vector3(), true));
    AudioEntity* drain = manager.getSound("playerDrainHealthSound");
    AudioEntity* menu = manager.getSound("mainMenuSound");
    AudioEntity* game = manager.getSound("backgroundSound");

    startMenuSounds();
    EXPECT_EQ(state(menu), AL_PLAYING);
    EXPECT_NE(state(game), AL_PLAYING);
    stopMenuSounds();
    startIngameSounds();
    drain->play();
    EXPECT_EQ(state(menu), AL_STOPPED);
    EXPECT_EQ(state(game), AL_PLAYING);
    stopIngameSounds();
    EXPECT_EQ(state(game), AL_STOPPED);
    EXPECT_EQ(state(drain), AL_STOPPED) << "a drain sound still playing is silenced too";
}

TEST(AudioWithoutDevice, EverythingFailsQuietly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string tone = writeTempFile("tone", toneWav(0.1, 440));
    // The child process starts OpenAL afresh with a driver that does not exist.
    EXPECT_EXIT(
        {
            setEnvironment("ALSOFT_DRIVERS", "kelvo-no-such-driver");
            AudioManager manager;
            if (manager.init() || manager.isAvailable()) {
                std::exit(3);
            }
            if (manager.loadAndAddSound("backgroundSound", tone, Vector3(), true)) {
                std::exit(4);
            }
            if (manager.getSound("backgroundSound") != nullptr) {
                std::exit(5);
            }
            manager.deleteSound("backgroundSound");
            manager.setListenerPos(Vector3(1, 2, 3));
            manager.setListenerOrientation(Vector3(), Vector3(0, 1, 0));
            audioManager = &manager;
            startMenuSounds();
            stopMenuSounds();
            startIngameSounds();
            stopIngameSounds();
            audioManager = nullptr;
            std::exit(0);
        },
        testing::ExitedWithCode(0), "no audio");
}

// The music plays at the listener wherever the camera is; the drain sound is
// placed in the world (at the ball, when it starts).
TEST_F(AudioManagerTest, TheGamesSoundsLoadWithMusicAtTheListener) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(KELVO_SRC);
    loadGameSounds(manager);
    std::filesystem::current_path(before);
    const struct {
        const char* name;
        bool loop;
        bool atListener;
    } sounds[] = {{"playerDrainHealthSound", false, false}, {"mainMenuSound", true, true}, {"backgroundSound", true, true}};
    for (const auto& expected : sounds) {
        SCOPED_TRACE(expected.name);
        AudioEntity* sound = manager.getSound(expected.name);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->loop, expected.loop);
        ALint relative = -1;
        alGetSourcei(sound->source, AL_SOURCE_RELATIVE, &relative);
        EXPECT_EQ(relative, expected.atListener ? AL_TRUE : AL_FALSE);
        EXPECT_EQ(sound->position, Vector3(0, 0, 0));
    }
}

TEST_F(AudioManagerTest, VolumesSetTheMusicAndTheEffectsApart) {
    ASSERT_TRUE(manager.loadAndAddSound("mainMenuSound", tone, Vector3(), true));
    ASSERT_TRUE(manager.loadAndAddSound("backgroundSound", tone, Vector3(), true));
    ASSERT_TRUE(manager.loadAndAddSound("playerDrainHealthSound", tone, Vector3(), false));
    audioManager = &manager;
    const Settings saved = settings;
    settings.musicVolume = 30;
    settings.effectsVolume = 0;
    applyVolumes();
    settings = saved;
    auto gain = [](AudioEntity* sound) {
        ALfloat value = -1;
        alGetSourcef(sound->source, AL_GAIN, &value);
        return value;
    };
    EXPECT_FLOAT_EQ(gain(manager.getSound("mainMenuSound")), 0.3f);
    EXPECT_FLOAT_EQ(gain(manager.getSound("backgroundSound")), 0.3f);
    EXPECT_FLOAT_EQ(gain(manager.getSound("playerDrainHealthSound")), 0.0f);
}
