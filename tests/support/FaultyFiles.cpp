// The failing file system.
#include "support/FaultyFiles.h"

namespace vl::test {

namespace {

class FaultyFile final : public platform::File {
public:
    FaultyFile(std::unique_ptr<platform::File> real, FaultyFiles& owner)
        : m_real(std::move(real)), m_owner(owner) {}

    bool read_at(uint64_t offset, void* data, std::size_t size) override {
        return m_real->read_at(offset, data, size);
    }
    bool write_at(uint64_t offset, const void* data, std::size_t size) override {
        if (m_owner.next_fails()) {
            m_real->write_at(offset, data, size / 2);
            return false;
        }
        return m_real->write_at(offset, data, size);
    }
    std::optional<uint64_t> size() override { return m_real->size(); }
    bool truncate(uint64_t size) override {
        return !m_owner.next_fails() && m_real->truncate(size);
    }
    bool flush() override { return !m_owner.next_fails() && m_real->flush(); }

private:
    std::unique_ptr<platform::File> m_real;
    FaultyFiles& m_owner;
};

}  // namespace

std::unique_ptr<platform::File> FaultyFiles::open(const std::string& path,
                                                  platform::OpenMode mode) {
    auto file = real().open(path, mode);
    return file ? std::make_unique<FaultyFile>(std::move(file), *this) : nullptr;
}

}  // namespace vl::test
