// Files on POSIX systems: pread/pwrite, fsync, and fsync of the folder after a rename.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/Files.h"

namespace vl::platform {

namespace {

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : m_fd(fd) {}
    ~PosixFile() override { ::close(m_fd); }

    bool read_at(uint64_t offset, void* data, std::size_t size) override {
        auto* out = static_cast<char*>(data);
        while (size > 0) {
            ssize_t n = ::pread(m_fd, out, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            out += n;
            offset += static_cast<uint64_t>(n);
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool write_at(uint64_t offset, const void* data, std::size_t size) override {
        const auto* in = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t n = ::pwrite(m_fd, in, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            in += n;
            offset += static_cast<uint64_t>(n);
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    std::optional<uint64_t> size() override {
        struct stat info {};
        if (::fstat(m_fd, &info) != 0) {
            return std::nullopt;
        }
        return static_cast<uint64_t>(info.st_size);
    }

    bool truncate(uint64_t size) override {
        return ::ftruncate(m_fd, static_cast<off_t>(size)) == 0;
    }

    bool flush() override { return ::fsync(m_fd) == 0; }

private:
    int m_fd;
};

// flock belongs to the open file, not the process, so two opens in one process conflict
// as two processes do, and closing the descriptor (or dying) lets it go.
class PosixLock final : public Lock {
public:
    explicit PosixLock(int fd) : m_fd(fd) {}
    ~PosixLock() override { ::close(m_fd); }

private:
    int m_fd;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
        int flags = O_CLOEXEC;
        switch (mode) {
            case OpenMode::ReadOnly:
                flags |= O_RDONLY;
                break;
            case OpenMode::ReadWrite:
                flags |= O_RDWR | O_CREAT;
                break;
            case OpenMode::CreateTruncate:
            case OpenMode::CreatePrivate:
                flags |= O_RDWR | O_CREAT | O_TRUNC;
                break;
        }
        const bool owner_only = mode == OpenMode::CreatePrivate;
        int fd = ::open(path.c_str(), flags, owner_only ? 0600 : 0644);
        if (fd < 0) {
            return nullptr;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        // A file that was already there keeps its old mode through O_CREAT: set it.
        if (owner_only && (info.st_mode & 07777) != 0600 && ::fchmod(fd, 0600) != 0) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }

    bool exists(const std::string& path) override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }

    std::vector<std::string> list_folder(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (dir == nullptr) {
            return names;
        }
        while (struct dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (exists(folder + name)) {
                names.push_back(name);
            }
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

    bool is_folder(const std::string& path) override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    LockResult try_lock(const std::string& path) override {
        LockResult result;
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            return result;
        }
        int status;
        do {
            status = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (status != 0 && errno == EINTR);
        if (status != 0) {
            result.busy = errno == EWOULDBLOCK;
            ::close(fd);
            return result;
        }
        result.lock = std::make_unique<PosixLock>(fd);
        return result;
    }

    bool sync_directory(const std::string& folder) override {
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        bool ok = ::fsync(fd) == 0;
        ::close(fd);
        return ok;
    }
};

}  // namespace

std::string drive_root(char) {
    return {};
}

std::string program_directory() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return "./";
    }
    return folder_of(std::string(path, static_cast<std::size_t>(length)));
}

FileSystem& system_files() {
    static PosixFileSystem files;
    return files;
}

}  // namespace vl::platform
