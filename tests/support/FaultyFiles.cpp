// The failing file system.
#include "support/FaultyFiles.h"

namespace vl::test {

namespace {

class FaultyFile final : public platform::File {
public:
    FaultyFile(std::unique_ptr<platform::File> real, FaultyFiles& owner, std::string path)
        : m_real(std::move(real)), m_owner(owner), m_path(std::move(path)) {}

    bool read_at(uint64_t offset, void* data, std::size_t size) override {
        return !m_owner.unreadable(m_path) && m_real->read_at(offset, data, size);
    }
    // A write that fails writes half of its bytes first, as a full disk may.
    bool write_at(uint64_t offset, const void* data, std::size_t size) override {
        const bool was_dead = m_owner.crashed();
        if (m_owner.next_fails() || m_owner.disk_full_for(m_path)) {
            if (!was_dead) {
                m_real->write_at(offset, data, size / 2);
            }
            return false;
        }
        return m_real->write_at(offset, data, size);
    }
    std::optional<uint64_t> size() override { return m_real->size(); }
    bool truncate(uint64_t size) override {
        return !m_owner.next_fails() && m_real->truncate(size);
    }
    bool flush() override {
        return !m_owner.next_fails() && (m_owner.flushes_skipped() || m_real->flush());
    }

private:
    std::unique_ptr<platform::File> m_real;
    FaultyFiles& m_owner;
    std::string m_path;
};

}  // namespace

std::unique_ptr<platform::File> FaultyFiles::open(const std::string& path,
                                                  platform::OpenMode mode) {
    // A dead process makes no new files and empties none.
    if (crashed() && mode != platform::OpenMode::ReadOnly) {
        return nullptr;
    }
    auto file = real().open(path, mode);
    return file ? std::make_unique<FaultyFile>(std::move(file), *this, path) : nullptr;
}

}  // namespace vl::test
