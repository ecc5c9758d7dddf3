// The portable part of the datagram seam.
#include "platform/Datagrams.h"

#include <charconv>

namespace vl::platform {

std::optional<uint32_t> parse_ipv4(const std::string& text) {
    uint32_t address = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at == end || *at != '.') {
                return std::nullopt;
            }
            ++at;
        }
        unsigned value = 256;
        auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || next == at || next - at > 3 || value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | value;
        at = next;
    }
    if (at != end) {
        return std::nullopt;
    }
    return address;
}

}  // namespace vl::platform
