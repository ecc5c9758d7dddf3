// The real sound path: the generated cues are valid WAV files that libsndfile reads back,
// playing waits until a cue has ended, and with no sound server a call returns at once.
#include <sndfile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/Tones.h"
#include "platform/linux/Sound_linux.h"
#include "support/TestSupport.h"

namespace vl::platform {
namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const char* const kCues[] = {"LogOn.wav", "LogOff.wav", "Dupe.wav"};

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kCues) {
            dir.write(name, wav_file(cue_samples(name)));
        }
    }
    test::TempDir dir;
};

TEST_F(SoundTest, CuesAreShortDistinctPcmFiles) {
    std::vector<std::vector<int16_t>> seen;
    for (const char* name : kCues) {
        SF_INFO info{};
        SNDFILE* file = sf_open(dir.file(name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << name << ": " << sf_strerror(nullptr);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
        EXPECT_EQ(info.channels, 1) << name;
        EXPECT_EQ(info.samplerate, kToneRate) << name;
        EXPECT_NEAR(static_cast<double>(info.frames) / info.samplerate, 0.375, 0.225) << name;
        std::vector<int16_t> samples(static_cast<std::size_t>(info.frames));
        EXPECT_EQ(sf_readf_short(file, samples.data(), info.frames), info.frames);
        sf_close(file);
        EXPECT_EQ(samples, cue_samples(name)) << name << " does not read back as written";
        seen.push_back(samples);
    }
    EXPECT_TRUE(seen[0] != seen[1] && seen[1] != seen[2]);
    EXPECT_NE(beep_samples(Beep::Default), beep_samples(Beep::Information));
    EXPECT_NE(beep_samples(Beep::Information), beep_samples(Beep::CriticalStop));
    EXPECT_TRUE(cue_samples("Other.wav").empty());
}

TEST_F(SoundTest, PlayingACueWaitsUntilItHasEnded) {
    if (std::getenv("VARROW_SOUND_SERVER") == nullptr) {
        GTEST_SKIP() << "needs the sound server that tests/sound/with_sound_server.sh starts";
    }
    PulseSound sound;
    for (const char* name : kCues) {
        double length = static_cast<double>(cue_samples(name).size()) / kToneRate;
        auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(sound.play_file(dir.file(name))) << name;
        double took = seconds_since(start);
        EXPECT_GE(took, length * 0.9) << name << " returned before its end";
        // The test server's null sink has a fixed latency of two seconds.
        EXPECT_LT(took, length + 2.6) << name;
    }
    auto start = std::chrono::steady_clock::now();
    sound.beep(Beep::CriticalStop);
    EXPECT_GE(seconds_since(start), 0.3);
}

TEST_F(SoundTest, WithoutAServerOrWithAFileThatIsNotSoundCallsReturnAtOnce) {
    dir.write("Broken.wav", "RIFF\x10\0\0\0WAVEjunk");
    PulseSound working;
    EXPECT_FALSE(working.play_file(dir.file("Broken.wav")));
    EXPECT_FALSE(working.play_file(dir.file("Missing.wav")));
    setenv("PULSE_SERVER", "unix:/nonexistent/pulse.sock", 1);
    PulseSound sound;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sound.play_file(dir.file("LogOn.wav")));
    sound.play(dir.file("Dupe.wav"));
    sound.beep(Beep::Default);
    EXPECT_LT(seconds_since(start), 1.0);
}

}  // namespace
}  // namespace vl::platform
