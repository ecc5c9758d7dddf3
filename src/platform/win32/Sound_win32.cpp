// PlaySound waits for the cue to end (SND_SYNC), as the screens expect; with no sound
// device it returns at once and the program goes on silently.
#include "platform/win32/Sound_win32.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace vl::platform {

void Win32Sound::play(const std::string& path) {
    PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
}

void Win32Sound::beep(Beep kind) {
    switch (kind) {
        case Beep::Default:
            MessageBeep(MB_OK);
            break;
        case Beep::Information:
            MessageBeep(MB_ICONASTERISK);
            break;
        case Beep::CriticalStop:
            MessageBeep(MB_ICONHAND);
            break;
    }
}

}  // namespace vl::platform
