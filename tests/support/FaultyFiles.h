// A file system over the real one whose Nth write, truncate or flush fails, to show that
// a change cut short leaves the log either as before or as after.
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
    int operations() const { return m_count; }
    bool failed() const { return m_fail_at > 0 && m_count >= m_fail_at; }

    std::unique_ptr<platform::File> open(const std::string& path, platform::OpenMode mode) override;
    bool exists(const std::string& path) override { return real().exists(path); }
    bool remove(const std::string& path) override { return real().remove(path); }
    bool rename(const std::string& from, const std::string& to) override {
        return !next_fails() && real().rename(from, to);
    }
    bool sync_directory(const std::string& folder) override {
        return !next_fails() && real().sync_directory(folder);
    }
    std::vector<std::string> list_folder(const std::string& folder) override {
        return real().list_folder(folder);
    }
    bool is_folder(const std::string& path) override { return real().is_folder(path); }

    // True when the operation now being counted is the one to fail. A write that fails
    // writes half of its bytes first, as a full disk may.
    bool next_fails() { return ++m_count == m_fail_at; }

private:
    static platform::FileSystem& real() { return platform::system_files(); }
    int m_fail_at = 0;
    int m_count = 0;
};

}  // namespace vl::test
