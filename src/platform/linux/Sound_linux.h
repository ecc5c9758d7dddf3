// Sound through PulseAudio (or PipeWire's PulseAudio service).
#pragma once

#include "platform/Sound.h"

namespace vl::platform {

class PulseSound final : public Sound {
public:
    void play(const std::string& path) override;
    void beep(Beep kind) override;
    // False when the file could not be read or no sound server took it.
    bool play_file(const std::string& path);
};

}  // namespace vl::platform
