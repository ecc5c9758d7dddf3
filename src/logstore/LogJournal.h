// The redo journal that makes every multi-record change of the log all-or-nothing.
// A change is first written whole to MYLOG.JNL and flushed; only then is the log itself
// rewritten. A valid journal found at open is applied again (applying it twice gives the
// same log); an incomplete one means the log was never touched, and it is dropped.
// A journal names the log it was written for: that log's record count and a checksum of
// the records the change leaves alone. It is applied to that log only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "logstore/Checksum.h"
#include "logstore/LogEntry.h"
#include "platform/Files.h"

namespace vl {

struct LogChange {
    uint32_t first = 1;          // record number of records[0]
    uint32_t new_count = 0;      // the log's record count afterwards
    uint32_t old_count = 0;      // the log's record count before
    uint64_t kept_checksum = 0;  // of records 1 .. first - 1, which the change leaves alone
    std::vector<LogRecord> records;
};

// The checksum a journal binds its log by: of the records a change leaves alone, hashed
// afresh.
uint64_t kept_checksum_of(std::span<const LogRecord> kept);

// The same checksum of the first records of the log, kept from one
// change to the next: the running state is held every kStep records, so a change near the
// end of a long log hashes fewer than kStep records rather than the whole log.
class KeptChecksums {
public:
    static constexpr std::size_t kStep = 512;
    // The checksum of records[0 .. count), which must be the records seen before, save for
    // those from the index given to forget_from since.
    uint64_t of_first(std::span<const LogRecord> records, std::size_t count);
    // Records from this index (counted from 0) on have changed.
    void forget_from(std::size_t index);

private:
    std::vector<Checksum> m_states;  // m_states[j]: after the first j * kStep records
};

// Writes and flushes the journal; `records` are the new records from `first` on, and
// `kept_checksum` that of the records before them as the log holds them.
bool write_journal(platform::FileSystem& fs, const std::string& path, uint32_t old_count,
                   uint32_t first, uint32_t new_count, uint64_t kept_checksum,
                   std::span<const LogRecord> records);

// The journal's change when it is whole and consistent, nothing otherwise.
std::optional<LogChange> read_journal(platform::FileSystem& fs, const std::string& path,
                                      uint32_t max_records);

// True when `log` is the log the change was written for, before its application or
// part-way through it: its length lies between the old and the new, and the records the
// change leaves alone are those it was written against.
bool change_fits(platform::File& log, const LogChange& change);

// A journal in the layout of an earlier version ("VLJ1"), which cannot be matched to its log.
bool journal_of_earlier_version(platform::FileSystem& fs, const std::string& path);

// Rewrites the records, cuts the file to its new length and flushes it.
bool apply_change(platform::File& log, uint32_t first, uint32_t new_count,
                  std::span<const LogRecord> records);

}  // namespace vl
