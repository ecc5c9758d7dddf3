// Sound cues through PlaySound, played to their end; beeps through MessageBeep.
#pragma once

#include "platform/Sound.h"

namespace vl::platform {

class Win32Sound final : public Sound {
public:
    void play(const std::string& path) override;
    void beep(Beep kind) override;
};

}  // namespace vl::platform
