// Journal file layout (little-endian): "VLJ2", first record, new record count, number of
// records k, old record count, four zero bytes, the 64-bit checksum of the records before
// the first; then k records of 84 bytes, then a 64-bit checksum of all before it.
#include "logstore/LogJournal.h"

#include <algorithm>
#include <cstring>

#include "logstore/Checksum.h"

namespace vl {

namespace {

constexpr char kMagic[4] = {'V', 'L', 'J', '2'};
constexpr std::size_t kHeaderSize = 32;

void put32(char* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

void put64(char* out, uint64_t v) {
    put32(out, static_cast<uint32_t>(v));
    put32(out + 4, static_cast<uint32_t>(v >> 32));
}

uint32_t get32(const char* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    return v;
}

uint64_t get64(const char* in) {
    return get32(in) | static_cast<uint64_t>(get32(in + 4)) << 32;
}

}  // namespace

uint64_t kept_checksum_of(std::span<const LogRecord> kept) {
    Checksum sum;
    sum.add(kept.data(), kept.size() * kRecordSize);
    return sum.value();
}

// The checksum is one pass over the bytes in order, so its state after a prefix can be
// copied and carried on: the value is the same as hashing the prefix afresh, and journals
// written either way bind to the same logs.
uint64_t KeptChecksums::of_first(std::span<const LogRecord> records, std::size_t count) {
    if (m_states.empty()) {
        m_states.emplace_back();
    }
    while (m_states.size() <= count / kStep) {
        Checksum next = m_states.back();
        next.add(records.data() + (m_states.size() - 1) * kStep, kStep * kRecordSize);
        m_states.push_back(next);
    }
    const std::size_t from = count / kStep * kStep;
    Checksum sum = m_states[count / kStep];
    sum.add(records.data() + from, (count - from) * kRecordSize);
    return sum.value();
}

void KeptChecksums::forget_from(std::size_t index) {
    // State j covers records before j * kStep: it stays when they are all before `index`.
    m_states.resize(std::min(m_states.size(), index / kStep + 1));
}

bool write_journal(platform::FileSystem& fs, const std::string& path, uint32_t old_count,
                   uint32_t first, uint32_t new_count, uint64_t kept_checksum,
                   std::span<const LogRecord> records) {
    auto file = fs.open(path, platform::OpenMode::CreateTruncate);
    if (!file) {
        return false;
    }
    char header[kHeaderSize] = {};
    std::memcpy(header, kMagic, 4);
    put32(header + 4, first);
    put32(header + 8, new_count);
    put32(header + 12, static_cast<uint32_t>(records.size()));
    put32(header + 16, old_count);
    put64(header + 24, kept_checksum);
    Checksum sum;
    sum.add(header, kHeaderSize);
    const std::size_t body = records.size() * kRecordSize;
    sum.add(records.data(), body);
    char trailer[8];
    put64(trailer, sum.value());
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
    change.old_count = get32(header + 16);
    change.kept_checksum = get64(header + 24);
    // Every number is checked before it sizes anything: the file may be torn or foreign.
    if (change.first < 1 || change.new_count > max_records || k > max_records ||
        change.old_count > max_records || change.first - 1 > change.old_count ||
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
    if (get64(trailer) != sum.value()) {
        return std::nullopt;
    }
    return change;
}

bool journal_of_earlier_version(platform::FileSystem& fs, const std::string& path) {
    auto file = fs.open(path, platform::OpenMode::ReadOnly);
    char magic[4];
    return file && file->read_at(0, magic, 4) && std::memcmp(magic, "VLJ1", 4) == 0;
}

bool change_fits(platform::File& log, const LogChange& change) {
    auto size = log.size();
    const uint64_t least = std::min(change.old_count, change.new_count) * uint64_t{kRecordSize};
    const uint64_t most = std::max(change.old_count, change.new_count) * uint64_t{kRecordSize};
    if (!size || *size < least || *size > most) {
        return false;
    }
    // The records before the first are read in blocks, not all at once.
    Checksum kept;
    std::vector<char> block(1 << 20);
    const uint64_t kept_size = (change.first - 1) * uint64_t{kRecordSize};
    for (uint64_t done = 0; done < kept_size;) {
        auto n = static_cast<std::size_t>(std::min<uint64_t>(block.size(), kept_size - done));
        if (!log.read_at(done, block.data(), n)) {
            return false;
        }
        kept.add(block.data(), n);
        done += n;
    }
    return kept.value() == change.kept_checksum;
}

bool apply_change(platform::File& log, uint32_t first, uint32_t new_count,
                  std::span<const LogRecord> records) {
    const uint64_t offset = static_cast<uint64_t>(first - 1) * kRecordSize;
    return (records.empty() ||
            log.write_at(offset, records.data(), records.size() * kRecordSize)) &&
           log.truncate(static_cast<uint64_t>(new_count) * kRecordSize) && log.flush();
}

}  // namespace vl
