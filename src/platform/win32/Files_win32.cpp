// Files on Windows: positioned ReadFile and WriteFile, FlushFileBuffers, MoveFileEx with
// write-through for the crash-safe replacements, and LockFileEx for the one-copy lock.
// Names are Windows-1252 and go through the ANSI functions.
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "platform/Files.h"

namespace vl::platform {

namespace {

OVERLAPPED at_offset(uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// ReadFile and WriteFile take at most a DWORD at a time.
constexpr std::size_t kChunk = 1u << 30;

// The same file however it is named: full path, letters folded.
std::string file_key(const std::string& path) {
    char full[MAX_PATH * 2];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string key = length > 0 && length < sizeof full ? std::string(full, length) : path;
    CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

class Win32File;

// The files this program has open, by name. Windows refuses to rename a file over one that
// is open, even with FILE_SHARE_DELETE; the program replaces its own open files that way
// (the log is written anew and renamed over itself) and then uses only the new file, as
// POSIX allows. So a rename over a file of ours lets our handles on it go first.
class OpenFiles {
public:
    void add(const std::string& key, Win32File* file) {
        std::lock_guard hold(m_mutex);
        m_files[key].insert(file);
    }
    void remove(const std::string& key, Win32File* file) {
        std::lock_guard hold(m_mutex);
        auto found = m_files.find(key);
        if (found != m_files.end()) {
            found->second.erase(file);
            if (found->second.empty()) {
                m_files.erase(found);
            }
        }
    }
    // A renamed file keeps its open handles: they now hold the file of the new name.
    void renamed(const std::string& from, const std::string& to);
    // Closes every handle of ours on the file; those File objects fail from now on, as a
    // file whose name now names another.
    void let_go(const std::string& key);

private:
    std::mutex m_mutex;
    std::map<std::string, std::set<Win32File*>> m_files;
};

class Win32File final : public File {
public:
    Win32File(HANDLE handle, std::string key, OpenFiles& open_files)
        : m_handle(handle), m_key(std::move(key)), m_open_files(open_files) {
        m_open_files.add(m_key, this);
    }
    ~Win32File() override {
        m_open_files.remove(m_key, this);
        let_go();
    }
    void set_key(std::string key) { m_key = std::move(key); }
    void let_go() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
        }
    }

    bool read_at(uint64_t offset, void* data, std::size_t size) override {
        auto* out = static_cast<char*>(data);
        while (size > 0) {
            OVERLAPPED where = at_offset(offset);
            DWORD done = 0;
            DWORD want = static_cast<DWORD>(std::min(size, kChunk));
            if (!ReadFile(m_handle, out, want, &done, &where) || done == 0) {
                return false;
            }
            out += done;
            offset += done;
            size -= done;
        }
        return true;
    }

    bool write_at(uint64_t offset, const void* data, std::size_t size) override {
        const auto* in = static_cast<const char*>(data);
        while (size > 0) {
            OVERLAPPED where = at_offset(offset);
            DWORD done = 0;
            DWORD want = static_cast<DWORD>(std::min(size, kChunk));
            if (!WriteFile(m_handle, in, want, &done, &where) || done == 0) {
                return false;
            }
            in += done;
            offset += done;
            size -= done;
        }
        return true;
    }

    std::optional<uint64_t> size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(m_handle, &size)) {
            return std::nullopt;
        }
        return static_cast<uint64_t>(size.QuadPart);
    }

    bool truncate(uint64_t size) override {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN) && SetEndOfFile(m_handle);
    }

    bool flush() override { return FlushFileBuffers(m_handle) != 0; }

private:
    HANDLE m_handle;
    std::string m_key;
    OpenFiles& m_open_files;
};

void OpenFiles::renamed(const std::string& from, const std::string& to) {
    std::lock_guard hold(m_mutex);
    auto found = m_files.find(from);
    if (found == m_files.end()) {
        return;
    }
    std::set<Win32File*> moved = std::move(found->second);
    m_files.erase(found);
    for (Win32File* file : moved) {
        file->set_key(to);
        m_files[to].insert(file);
    }
}

void OpenFiles::let_go(const std::string& key) {
    std::lock_guard hold(m_mutex);
    auto found = m_files.find(key);
    if (found != m_files.end()) {
        for (Win32File* file : found->second) {
            file->let_go();
        }
    }
}

// The lock is a byte range of an open handle: closing the handle, or the end of the
// process however it comes, lets it go.
class Win32Lock final : public Lock {
public:
    explicit Win32Lock(HANDLE handle) : m_handle(handle) {}
    ~Win32Lock() override { CloseHandle(m_handle); }

private:
    HANDLE m_handle;
};

// Other programs (a backup, a virus checker) may read, and the program itself renames a
// replaced file while it is open elsewhere, as on POSIX.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Win32FileSystem final : public FileSystem {
public:
    std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
        DWORD access = GENERIC_READ;
        DWORD disposition = OPEN_EXISTING;
        switch (mode) {
            case OpenMode::ReadOnly:
                break;
            case OpenMode::ReadWrite:
                access |= GENERIC_WRITE;
                disposition = OPEN_ALWAYS;
                break;
            // The program folder is the operator's own; Windows has no mode bits to set.
            case OpenMode::CreateTruncate:
            case OpenMode::CreatePrivate:
                access |= GENERIC_WRITE;
                disposition = CREATE_ALWAYS;
                break;
        }
        HANDLE handle = CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            CloseHandle(handle);
            return nullptr;
        }
        return std::make_unique<Win32File>(handle, file_key(path), m_open_files);
    }

    bool exists(const std::string& path) override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

    bool rename(const std::string& from, const std::string& to) override {
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        const std::string from_key = file_key(from);
        const std::string to_key = file_key(to);
        bool moved = MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
        if (!moved &&
            (GetLastError() == ERROR_ACCESS_DENIED || GetLastError() == ERROR_SHARING_VIOLATION)) {
            m_open_files.let_go(to_key);
            moved = MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
        }
        if (moved) {
            m_open_files.renamed(from_key, to_key);
        }
        return moved;
    }

    // MOVEFILE_WRITE_THROUGH has already put the new name on the disk.
    bool sync_directory(const std::string&) override { return true; }

    std::vector<std::string> list_folder(const std::string& folder) override {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        std::string pattern = (folder.empty() ? std::string(".\\") : folder) + "*";
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                names.emplace_back(found.cFileName);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    bool is_folder(const std::string& path) override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    LockResult try_lock(const std::string& path) override {
        LockResult result;
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return result;
        }
        OVERLAPPED whole{};
        if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                        MAXDWORD, &whole)) {
            result.busy = GetLastError() == ERROR_LOCK_VIOLATION;
            CloseHandle(handle);
            return result;
        }
        result.lock = std::make_unique<Win32Lock>(handle);
        return result;
    }

private:
    OpenFiles m_open_files;
};

}  // namespace

std::string drive_root(char letter) {
    return std::string(1, letter) + ":\\";
}

std::string program_directory() {
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return ".\\";
    }
    return folder_of(std::string(path, length));
}

FileSystem& system_files() {
    static Win32FileSystem files;
    return files;
}

}  // namespace vl::platform
