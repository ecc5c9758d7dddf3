// make_cues FOLDER: writes the program's sound cues LogOn.wav, LogOff.wav and Dupe.wav.
// The build runs it, so the cues are made from source rather than stored.
#include <fstream>
#include <iostream>

#include "platform/Tones.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_cues FOLDER\n";
        return 2;
    }
    for (const char* name : {"LogOn.wav", "LogOff.wav", "Dupe.wav"}) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary | std::ios::trunc);
        std::string wav = vl::platform::wav_file(vl::platform::cue_samples(name));
        out.write(wav.data(), static_cast<std::streamsize>(wav.size()));
        if (!out) {
            std::cerr << "make_cues: cannot write " << name << "\n";
            return 1;
        }
    }
    return 0;
}
