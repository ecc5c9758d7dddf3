// ADIF import: a reader of tag-form ADIF that gathers one QSO entry per record, and the
// merge of the gathered entries into the log as one all-or-nothing change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logstore/LogStore.h"
#include "platform/Files.h"

namespace vl {

struct ImportBatch {
    std::vector<LogRecord> entries;  // in the file's order
    int skipped_no_call = 0;
    int skipped_no_date = 0;   // no qso_date: no date the entry could be kept under
    int skipped_bad_date = 0;  // dates the log's date codes cannot hold
    bool too_many = false;     // more records than a log could ever hold: reading stopped
};

// Reads ADIF bytes as they arrive, in blocks of any size. `power` is used until a record
// gives its own "tx_pwr"; `comment` is added to every entry's comment.
class AdifReader {
public:
    AdifReader(std::string_view power, std::string_view comment);
    void feed(std::string_view bytes);
    // A record whose end-of-record never came is not kept.
    ImportBatch finish() { return std::move(m_batch); }

private:
    enum class State { Seek, Name, Length, Value, Skip };
    void begin_value();
    void apply(int tag, std::string_view value);
    void end_record();
    void clear_record();

    State m_state = State::Seek;
    std::string m_name;
    uint64_t m_length = 0;
    uint64_t m_left = 0;  // value bytes still to read or skip
    int m_tag = -1;
    std::string m_value;

    std::string m_power;
    std::string m_box_comment;
    // The record being gathered.
    int m_date = 0;
    bool m_bad_date = false;
    bool m_has_date = false;
    int m_time_on = 0;
    int m_time_off = 0;
    std::string m_call, m_rst_sent, m_rst_received, m_mode, m_submode;
    std::string m_frequency, m_band, m_extra;
    uint8_t m_qsl_bits = 0;
    ImportBatch m_batch;
};

ImportBatch parse_adif(std::string_view bytes, std::string_view power, std::string_view comment);

// Reads the file in large blocks; nothing when it cannot be read.
std::optional<ImportBatch> read_adif_file(platform::FileSystem& files, const std::string& path,
                                          std::string_view power, std::string_view comment);

// Puts the batch into the log, each entry at its date-and-time place after the entries
// already there of the same date and time, all at once or not at all. The caller checks the
// entry limit.
LogStatus merge_into_log(LogStore& log, std::vector<LogRecord> entries);

}  // namespace vl
