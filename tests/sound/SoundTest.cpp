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

using Clock = std::chrono::steady_clock;
const char* const kCues[] = {"LogOn.wav", "LogOff.wav", "Dupe.wav"};

TEST(Sound, CuesAreShortDistinctPcmFilesThatPlayToTheirEnd) {
    test::TempDir dir;
    std::vector<std::vector<int16_t>> seen;
    for (const char* name : kCues) {
        dir.write(name, wav_file(cue_samples(name)));
        SF_INFO info{};
        SNDFILE* file = sf_open(dir.file(name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << name << ": " << sf_strerror(nullptr);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
        EXPECT_EQ(info.channels, 1) << name;
        EXPECT_EQ(info.samplerate, kToneRate) << name;
        EXPECT_NEAR(static_cast<double>(info.frames) / kToneRate, 0.375, 0.225) << name;
        seen.emplace_back(static_cast<std::size_t>(info.frames));
        EXPECT_EQ(sf_readf_short(file, seen.back().data(), info.frames), info.frames);
        sf_close(file);
        EXPECT_EQ(seen.back(), cue_samples(name)) << name << " does not read back as written";
    }
    EXPECT_TRUE(seen[0] != seen[1] && seen[1] != seen[2]);
    EXPECT_NE(beep_samples(Beep::Default), beep_samples(Beep::Information));
    EXPECT_NE(beep_samples(Beep::Information), beep_samples(Beep::CriticalStop));
    EXPECT_TRUE(cue_samples("Other.wav").empty());
    dir.write("Broken.wav", "RIFF\x10\0\0\0WAVEjunk");
    PulseSound sound;
    EXPECT_FALSE(sound.play_file(dir.file("Broken.wav")));
    EXPECT_FALSE(sound.play_file(dir.file("Missing.wav")));
    if (std::getenv("VARROW_SOUND_SERVER") == nullptr) {
        GTEST_SKIP()
            << "playing needs the sound server that tests/sound/with_sound_server.sh starts";
    }
    for (const char* name : kCues) {
        const double length = static_cast<double>(cue_samples(name).size()) / kToneRate;
        const auto start = Clock::now();
        EXPECT_TRUE(sound.play_file(dir.file(name))) << name;
        const std::chrono::duration<double> took = Clock::now() - start;
        EXPECT_GE(took.count(), length * 0.9) << name << " returned before its end";
        // The test server's null sink has a fixed latency of two seconds.
        EXPECT_LT(took.count(), length + 2.6) << name;
    }
    const auto start = Clock::now();
    sound.beep(Beep::CriticalStop);
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - start).count(), 0.3);
}

TEST(Sound, WithoutASoundServerCallsReturnAtOnce) {
    test::TempDir dir;
    dir.write("LogOn.wav", wav_file(cue_samples("LogOn.wav")));
    setenv("PULSE_SERVER", "unix:/nonexistent/pulse.sock", 1);
    PulseSound sound;
    const auto start = Clock::now();
    EXPECT_FALSE(sound.play_file(dir.file("LogOn.wav")));
    sound.play(dir.file("LogOn.wav"));
    sound.beep(Beep::Default);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
}

}  // namespace
}  // namespace vl::platform
