// Sound cues and beeps. Playing a cue waits until it has ended; with no sound device the
// cue is skipped silently.
#pragma once

#include <string>

namespace vl::platform {

enum class Beep { Default, Information, CriticalStop };

class Sound {
public:
    virtual ~Sound() = default;
    // Plays a WAV file of the program directory to its end.
    virtual void play(const std::string& path) = 0;
    virtual void beep(Beep kind) = 0;
};

}  // namespace vl::platform
