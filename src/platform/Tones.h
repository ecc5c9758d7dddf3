// The program's own sounds, made rather than shipped: the three WAV cues and the three beeps,
// each short and clearly different from the others.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sound.h"

namespace vl::platform {

constexpr int kToneRate = 22050;  // samples a second, mono 16-bit

// Samples of the cue named "LogOn.wav", "LogOff.wav" or "Dupe.wav"; empty for other names.
std::vector<int16_t> cue_samples(const std::string& name);
std::vector<int16_t> beep_samples(Beep kind);

// A RIFF/WAVE file of 16-bit mono PCM.
std::string wav_file(const std::vector<int16_t>& samples, int rate = kToneRate);

}  // namespace vl::platform
