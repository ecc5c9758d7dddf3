// Whole-file helpers on top of the file interface.
#include "platform/Files.h"

#include <vector>

namespace vl::platform {

std::optional<std::string> read_whole_file(FileSystem& fs, const std::string& path,
                                           uint64_t size_limit) {
    auto file = fs.open(path, OpenMode::ReadOnly);
    if (!file) {
        return std::nullopt;
    }
    auto size = file->size();
    if (!size || *size > size_limit) {
        return std::nullopt;
    }
    std::string data(static_cast<std::size_t>(*size), '\0');
    if (!data.empty() && !file->read_at(0, data.data(), data.size())) {
        return std::nullopt;
    }
    return data;
}

namespace {

bool write_file_as(FileSystem& fs, const std::string& path, std::string_view data, OpenMode mode) {
    auto file = fs.open(path, mode);
    return file && (data.empty() || file->write_at(0, data.data(), data.size())) && file->flush();
}

bool replace_file_as(FileSystem& fs, const std::string& path, std::string_view data,
                     OpenMode mode) {
    const std::string temporary = path + ".NEW";
    if (!write_file_as(fs, temporary, data, mode) || !fs.rename(temporary, path)) {
        fs.remove(temporary);
        return false;
    }
    return fs.sync_directory(folder_of(path));
}

}  // namespace

bool write_whole_file(FileSystem& fs, const std::string& path, std::string_view data) {
    return write_file_as(fs, path, data, OpenMode::CreateTruncate);
}

bool replace_file(FileSystem& fs, const std::string& path, std::string_view data) {
    return replace_file_as(fs, path, data, OpenMode::CreateTruncate);
}

// The temporary file is made private before anything is written to it, and the rename
// carries its mode over to the file's own name.
bool replace_private_file(FileSystem& fs, const std::string& path, std::string_view data) {
    return replace_file_as(fs, path, data, OpenMode::CreatePrivate);
}

bool copy_file(FileSystem& fs, const std::string& from, const std::string& to) {
    auto source = fs.open(from, OpenMode::ReadOnly);
    auto target = source ? fs.open(to, OpenMode::CreateTruncate) : nullptr;
    if (!target) {
        return false;
    }
    auto size = source->size();
    if (!size) {
        return false;
    }
    std::vector<char> block(1 << 20);
    for (uint64_t done = 0; done < *size;) {
        std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(block.size(), *size - done));
        if (!source->read_at(done, block.data(), n) || !target->write_at(done, block.data(), n)) {
            return false;
        }
        done += n;
    }
    return target->flush();
}

std::string folder_of(const std::string& path) {
    std::size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace vl::platform
