// What the fuzz targets share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace vl::fuzz {

// A broken invariant ends the run at once, so that the driver or libFuzzer keeps the input.
inline void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// One input as two files: the first byte says how much of the rest is the first.
inline std::pair<std::string_view, std::string_view> split(std::string_view input) {
    if (input.empty()) {
        return {input, input};
    }
    const std::size_t first =
        std::min(static_cast<uint8_t>(input[0]) * input.size() / 256, input.size() - 1);
    return {input.substr(1, first), input.substr(1 + first)};
}

}  // namespace vl::fuzz
