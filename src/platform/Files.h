// Files as the program needs them: random access with flush to disk, whole-file reads
// and writes, existence tests, copy, delete and rename. Every file the program touches
// goes through here, so a test can make the Nth write fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vl::platform {

class File {
public:
    virtual ~File() = default;
    // Reads exactly `size` bytes at `offset`; false on error or a short read.
    virtual bool read_at(uint64_t offset, void* data, std::size_t size) = 0;
    virtual bool write_at(uint64_t offset, const void* data, std::size_t size) = 0;
    virtual std::optional<uint64_t> size() = 0;
    virtual bool truncate(uint64_t size) = 0;
    // Writes buffered changes through to the disk.
    virtual bool flush() = 0;
};

// An advisory lock, held until this object is destroyed. The system lets it go when the
// process ends, however it ends, so a killed copy never blocks the next start.
class Lock {
public:
    virtual ~Lock() = default;
};

struct LockResult {
    std::unique_ptr<Lock> lock;  // held when set
    bool busy = false;           // another holder has it
};

enum class OpenMode {
    ReadOnly,
    ReadWrite,       // created empty when absent
    CreateTruncate,  // always starts empty
    // As CreateTruncate, readable and writable by the operator alone (POSIX mode 0600,
    // also when the file was already there); for files that hold a password.
    CreatePrivate,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::unique_ptr<File> open(const std::string& path, OpenMode mode) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual bool remove(const std::string& path) = 0;
    // Replaces `to` when it exists.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // Makes a created, renamed or removed name in this folder survive a power cut.
    virtual bool sync_directory(const std::string& folder) = 0;
    // The names of the plain files in a folder, sorted; empty when it cannot be read.
    virtual std::vector<std::string> list_folder(const std::string& folder) = 0;
    virtual bool is_folder(const std::string& path) = 0;
    // Takes the lock on the file at `path` (created when absent) without waiting.
    virtual LockResult try_lock(const std::string& path) = 0;
};

// Helpers built on the interface.
std::optional<std::string> read_whole_file(FileSystem& fs, const std::string& path,
                                           uint64_t size_limit);
bool write_whole_file(FileSystem& fs, const std::string& path, std::string_view data);
// Writes the file whole under a temporary name and renames it over the old one, so a
// crash leaves the old file or the new, never half of one.
bool replace_file(FileSystem& fs, const std::string& path, std::string_view data);
// The same for a file only the operator may read (OpenMode::CreatePrivate).
bool replace_private_file(FileSystem& fs, const std::string& path, std::string_view data);
bool copy_file(FileSystem& fs, const std::string& from, const std::string& to);

// The folder part of a path, with its trailing separator ("" for a bare name).
std::string folder_of(const std::string& path);

// The real files of this system.
FileSystem& system_files();

// The folder of the running executable, with its trailing separator.
std::string program_directory();

// The root folder of a drive letter ("E:\\") where the system has drive letters; empty where
// it has none.
std::string drive_root(char letter);

}  // namespace vl::platform
