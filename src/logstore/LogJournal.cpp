// Journal file layout (little-endian): "VLJ1", first record, new record count, number of
// records k, then k records of 84 bytes, then a 64-bit FNV-1a checksum of all before it.
#include "logstore/LogJournal.h"

#include <cstring>

namespace vl {

namespace {

constexpr char kMagic[4] = {'V', 'L', 'J', '1'};
constexpr std::size_t kHeaderSize = 16;

struct Checksum {
    uint64_t value = 1469598103934665603ull;
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value = (value ^ bytes[i]) * 1099511628211ull;
        }
    }
};

void put32(char* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

uint32_t get32(const char* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    return v;
}

}  // namespace

bool write_journal(platform::FileSystem& fs, const std::string& path, uint32_t first,
                   uint32_t new_count, std::span<const LogRecord> records) {
    auto file = fs.open(path, platform::OpenMode::CreateTruncate);
    if (!file) {
        return false;
    }
    char header[kHeaderSize];
    std::memcpy(header, kMagic, 4);
    put32(header + 4, first);
    put32(header + 8, new_count);
    put32(header + 12, static_cast<uint32_t>(records.size()));
    Checksum sum;
    sum.add(header, kHeaderSize);
    const std::size_t body = records.size() * kRecordSize;
    sum.add(records.data(), body);
    char trailer[8];
    for (int i = 0; i < 8; ++i) {
        trailer[i] = static_cast<char>((sum.value >> (8 * i)) & 0xFF);
    }
    return file->write_at(0, header, kHeaderSize) &&
           (body == 0 || file->write_at(kHeaderSize, records.data(), body)) &&
           file->write_at(kHeaderSize + body, trailer, 8) && file->flush() &&
           fs.sync_directory(platform::folder_of(path));
}

std::optional<LogChange> read_journal(platform::FileSystem& fs, const std::string& path,
                                      uint32_t max_records) {
    auto file = fs.open(path, platform::OpenMode::ReadOnly);
    if (!file) {
        return std::nullopt;
    }
    auto size = file->size();
    char header[kHeaderSize];
    if (!size || *size < kHeaderSize + 8 || !file->read_at(0, header, kHeaderSize) ||
        std::memcmp(header, kMagic, 4) != 0) {
        return std::nullopt;
    }
    LogChange change;
    change.first = get32(header + 4);
    change.new_count = get32(header + 8);
    uint32_t k = get32(header + 12);
    // Every number is checked before it sizes anything: the file may be torn or foreign.
    if (change.first < 1 || change.new_count > max_records || k > max_records ||
        static_cast<uint64_t>(change.first) - 1 + k != change.new_count ||
        *size != kHeaderSize + static_cast<uint64_t>(k) * kRecordSize + 8) {
        return std::nullopt;
    }
    change.records.resize(k);
    char trailer[8];
    const std::size_t body = k * kRecordSize;
    if ((body > 0 && !file->read_at(kHeaderSize, change.records.data(), body)) ||
        !file->read_at(kHeaderSize + body, trailer, 8)) {
        return std::nullopt;
    }
    Checksum sum;
    sum.add(header, kHeaderSize);
    sum.add(change.records.data(), body);
    uint64_t stored = 0;
    for (int i = 0; i < 8; ++i) {
        stored |= static_cast<uint64_t>(static_cast<unsigned char>(trailer[i])) << (8 * i);
    }
    if (stored != sum.value) {
        return std::nullopt;
    }
    return change;
}

bool apply_change(platform::File& log, uint32_t first, uint32_t new_count,
                  std::span<const LogRecord> records) {
    const uint64_t offset = static_cast<uint64_t>(first - 1) * kRecordSize;
    return (records.empty() ||
            log.write_at(offset, records.data(), records.size() * kRecordSize)) &&
           log.truncate(static_cast<uint64_t>(new_count) * kRecordSize) && log.flush();
}

}  // namespace vl
