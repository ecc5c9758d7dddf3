// What the fuzz targets share.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
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

// Bytes as a port or a socket hands them over: a chunk at a time.
struct Chunks {
    std::span<const uint8_t> rest;
    std::size_t chunk;

    std::span<const uint8_t> take(std::size_t most) {
        const auto part = rest.first(std::min({rest.size(), chunk, most}));
        rest = rest.subspan(part.size());
        return part;
    }
    std::size_t read(std::span<uint8_t> buffer) {
        const auto part = take(buffer.size());
        std::copy(part.begin(), part.end(), buffer.begin());
        return part.size();
    }
};

// A folder of this process's own, so that runs side by side keep apart; removed when the run
// ends normally, kept after a crash beside the input that caused it. One target a process.
inline std::filesystem::path own_folder(const std::string& name) {
    static const struct Folder {
        std::filesystem::path path;
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder{std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()))};
    std::filesystem::create_directories(folder.path);
    return folder.path;
}

}  // namespace vl::fuzz
