// Fuzz target: any rig-definition layout and any bytes from the port, arriving in chunks of
// any size. Decoding must not crash or read outside the reply, and what it gives must be a
// frequency the screen can show and a mode index inside the mask.
#include <cmath>
#include <limits>

#include "Fuzz.h"
#include "station/CatFrames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) {
        return 0;
    }
    vl::CatFormat format;
    format.code = data[0] % 11;
    format.frequency_start = data[1] % 100;
    format.frequency_length = data[2] % 12;
    format.mode_position = data[3] % 100;
    format.mode_mask = data[4];
    format.query = {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD, 0, 0};
    if (format.code == 1) {
        format.query = {'F', 'A', ';'};
    }
    vl::fuzz::Chunks bytes{std::span(data + 6, size - 6), data[5] % 32 + 1u};
    vl::CatSession session(format);
    do {
        session.receive(bytes.take(std::numeric_limits<std::size_t>::max()));
        const vl::CatPollResult result = session.poll();
        vl::fuzz::require(!result.hertz ||
                          (std::isfinite(*result.hertz) && *result.hertz >= 100000));
        vl::fuzz::require(!result.mode_index || (*result.mode_index & ~format.mode_mask) == 0);
        vl::fuzz::require(!result.next_command.empty());
    } while (!bytes.rest.empty());
    return 0;
}
