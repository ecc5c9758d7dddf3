// A file system over the real one whose Nth write, truncate, flush, rename or folder sync
// fails, to show that a change cut short leaves the log either as before or as after; and
// whose disk can be made full for the files of one folder.
#pragma once

#include "platform/Files.h"

namespace vl::test {

class FaultyFiles final : public platform::FileSystem {
public:
    // Operations are counted from 1; 0 means never fail.
    void fail_at(int operation) {
        m_fail_at = operation;
        m_count = 0;
    }
    // The process dies at this operation: it writes half of its bytes when it is a write,
    // and nothing after it reaches the disk (no write, truncate, flush, rename, removal or
    // new file). 0 means never.
    void crash_at(int operation) {
        m_crash_at = operation;
        m_count = 0;
    }
    bool crashed() const { return m_crash_at > 0 && m_count >= m_crash_at; }
    // Every later write to a file whose path starts with `folder` fails, as on a full disk
    // (after writing half of its bytes); "" empties the disk again. Reads, truncation and
    // renames go on working, as they do on a full disk.
    void fill_disk(std::string folder) { m_full_folder = std::move(folder); }
    // Every later read of `path` fails ("" for none), as for a file the program may not read.
    void make_unreadable(std::string path) { m_unreadable = std::move(path); }
    // Flushes and folder syncs succeed without reaching the disk, for runs that need what the
    // files hold but not that it would survive a power cut (a flush costs milliseconds).
    void skip_flushes() { m_skip_flushes = true; }
    bool flushes_skipped() const { return m_skip_flushes; }
    int operations() const { return m_count; }
    bool failed() const { return m_fail_at > 0 && m_count >= m_fail_at; }

    std::unique_ptr<platform::File> open(const std::string& path, platform::OpenMode mode) override;
    bool exists(const std::string& path) override { return real().exists(path); }
    bool remove(const std::string& path) override { return !crashed() && real().remove(path); }
    bool rename(const std::string& from, const std::string& to) override {
        return !next_fails() && real().rename(from, to);
    }
    bool sync_directory(const std::string& folder) override {
        return !next_fails() && (m_skip_flushes || real().sync_directory(folder));
    }
    std::vector<std::string> list_folder(const std::string& folder) override {
        return real().list_folder(folder);
    }
    bool is_folder(const std::string& path) override { return real().is_folder(path); }
    platform::LockResult try_lock(const std::string& path) override {
        return real().try_lock(path);
    }

    // True when the operation now being counted is the one to fail.
    bool next_fails() { return ++m_count == m_fail_at || crashed(); }
    bool disk_full_for(const std::string& path) const {
        return !m_full_folder.empty() && path.starts_with(m_full_folder);
    }
    bool unreadable(const std::string& path) const {
        return !m_unreadable.empty() && path == m_unreadable;
    }

private:
    static platform::FileSystem& real() { return platform::system_files(); }
    int m_fail_at = 0;
    int m_crash_at = 0;
    int m_count = 0;
    bool m_skip_flushes = false;
    std::string m_full_folder;
    std::string m_unreadable;
};

}  // namespace vl::test
