// Sound on Linux: WAV files read with libsndfile and played through the PulseAudio simple
// API, which PipeWire also serves. Each call waits until the sound has ended; with no sound
// server it returns at once and the cue is skipped.
#include "platform/linux/Sound_linux.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <vector>

#include "platform/Tones.h"

namespace vl::platform {

namespace {

bool play_samples(const int16_t* samples, std::size_t frames, int rate, int channels) {
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16LE;
    format.rate = static_cast<uint32_t>(rate);
    format.channels = static_cast<uint8_t>(channels);
    // A small buffer: the default one holds two seconds, and draining it would keep the
    // operator waiting long after a short cue has ended.
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(50000, &format));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Varrow Log", PA_STREAM_PLAYBACK, nullptr, "cue",
                                      &format, nullptr, &buffer, &error);
    if (stream == nullptr) {
        return false;
    }
    bool ok = pa_simple_write(stream, samples, frames * static_cast<std::size_t>(channels) * 2,
                              &error) == 0 &&
              pa_simple_drain(stream, &error) == 0;
    pa_simple_free(stream);
    return ok;
}

}  // namespace

bool PulseSound::play_file(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return false;
    }
    // Cues are short; anything past a minute or with odd channel counts is not played.
    if (info.channels < 1 || info.channels > 2 || info.frames <= 0 ||
        info.frames > info.samplerate * 60 || info.samplerate < 1000 || info.samplerate > 192000) {
        sf_close(file);
        return false;
    }
    std::vector<int16_t> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_count_t frames = sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    return frames > 0 && play_samples(samples.data(), static_cast<std::size_t>(frames),
                                      info.samplerate, info.channels);
}

void PulseSound::play(const std::string& path) {
    play_file(path);
}

void PulseSound::beep(Beep kind) {
    std::vector<int16_t> samples = beep_samples(kind);
    play_samples(samples.data(), samples.size(), kToneRate, 1);
}

}  // namespace vl::platform
