// Tone synthesis: sweeps and pips with short fades so they start and stop without clicks.
#include "platform/Tones.h"

#include <algorithm>
#include <cmath>

namespace vl::platform {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A sine sweeping from `from` to `to` hertz over `milliseconds`.
void add_sweep(std::vector<int16_t>& out, double from, double to, int milliseconds,
               double volume = 0.5) {
    const int count = kToneRate * milliseconds / 1000;
    const int fade = kToneRate / 200;  // 5 ms
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double frequency = from + (to - from) * i / count;
        phase += 2.0 * kPi * frequency / kToneRate;
        double envelope =
            std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - i) / fade});
        out.push_back(
            static_cast<int16_t>(std::lround(std::sin(phase) * envelope * volume * 32767.0)));
    }
}

void add_silence(std::vector<int16_t>& out, int milliseconds) {
    out.insert(out.end(), static_cast<std::size_t>(kToneRate * milliseconds / 1000), int16_t{0});
}

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<int16_t> cue_samples(const std::string& name) {
    std::vector<int16_t> out;
    if (name == "LogOn.wav") {  // rising: a station joins the net
        add_sweep(out, 600, 900, 120);
        add_sweep(out, 900, 1200, 120);
    } else if (name == "LogOff.wav") {  // falling: the contact is written
        add_sweep(out, 1200, 900, 120);
        add_sweep(out, 900, 600, 120);
    } else if (name == "Dupe.wav") {  // three quick pips: worked before
        for (int pip = 0; pip < 3; ++pip) {
            add_sweep(out, 1500, 1500, 60);
            add_silence(out, 50);
        }
    }
    return out;
}

std::vector<int16_t> beep_samples(Beep kind) {
    std::vector<int16_t> out;
    switch (kind) {
        case Beep::Default:  // one plain mid tone
            add_sweep(out, 800, 800, 150, 0.4);
            break;
        case Beep::Information:  // two rising notes
            add_sweep(out, 660, 660, 90, 0.4);
            add_sweep(out, 990, 990, 120, 0.4);
            break;
        case Beep::CriticalStop:  // a long low falling tone
            add_sweep(out, 300, 200, 350, 0.5);
            break;
    }
    return out;
}

std::string wav_file(const std::vector<int16_t>& samples, int rate) {
    const auto data_size = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    put32(out, 36 + data_size);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, static_cast<uint32_t>(rate));
    put32(out, static_cast<uint32_t>(rate * 2));
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, data_size);
    for (int16_t sample : samples) {
        put16(out, static_cast<uint16_t>(sample));
    }
    return out;
}

}  // namespace vl::platform
