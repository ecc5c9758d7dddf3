// ADIF import: the tag reader and the merge of its entries into the log.
#include "interchange/AdifImport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "platform/Cp1252.h"

namespace vl {

namespace {

// The tag names the reader knows, in lower case; a tag's number is its place here.
constexpr std::array<std::string_view, 21> kTags = {
    "qso_date", "time_on",  "time_off", "call",    "freq", "band",  "mode",
    "rst_rcvd", "rst_sent", "tx_pwr",   "comment", "name", "notes", "operator",
    "qsl_rcvd", "qsl_sent", "iota",     "qth",     "eoh",  "eor",   "submode"};
enum Tag {
    kQsoDate,
    kTimeOn,
    kTimeOff,
    kCall,
    kFreq,
    kBand,
    kMode,
    kRstRcvd,
    kRstSent,
    kTxPwr,
    kComment,
    kName,
    kNotes,
    kOperator,
    kQslRcvd,
    kQslSent,
    kIota,
    kQth,
    kEoh,
    kEor,
    kSubmode
};

// No known tag name is longer; a longer one is unknown whatever follows.
constexpr std::size_t kLongestName = 8;
// Value bytes kept of a known tag; the fields they go to are far narrower.
constexpr std::size_t kValueKept = 512;
constexpr std::size_t kExtraKept = 256;
// A stated length saturates here rather than overflowing.
constexpr uint64_t kLengthCap = uint64_t{1} << 40;

constexpr std::size_t kReadBlock = 1 << 20;

int tag_number(std::string_view lower_name) {
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        if (kTags[i] == lower_name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool is_valid_utf8_with_high_bytes(std::string_view text) {
    bool high = false;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        high = true;
        std::size_t length = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return high;
}

// Modern files are UTF-8; older ones are already single-byte text and stay as they are.
std::string single_byte_text(std::string_view value) {
    if (is_valid_utf8_with_high_bytes(value)) {
        return platform::cp1252_from_utf8(value);
    }
    return std::string(value);
}

bool all_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The date code of YYYYMMDD, or nothing when it is no date the log's codes can hold.
std::optional<int> date_code_of_adif(std::string_view value) {
    if (value.size() < 8 || !all_digits(value.substr(0, 8))) {
        return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t width) {
        int n = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            n = n * 10 + (value[i] - '0');
        }
        return n;
    };
    int year = number(0, 4), month = number(4, 2), day = number(6, 2);
    long whole = year * 10000L + month * 100L + day;
    if (month < 1 || month > 12 || day < 1 || day > 31 || whole < 19300101L || whole > 20290722L) {
        return std::nullopt;
    }
    return date_code(year - 1900, month, day);
}

// 300 divided by the band's wavelength, as the plain conversion writes a number.
std::string frequency_of_band(double metres) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", 300.0 / metres);
    return (300.0 / metres >= 0 ? " " : "") + std::string(text);
}

}  // namespace

AdifReader::AdifReader(std::string_view power, std::string_view comment)
    : m_power(power), m_box_comment(comment) {
    m_state = State::Seek;
}

void AdifReader::feed(std::string_view bytes) {
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    while (at < end) {
        switch (m_state) {
            case State::Start:
            case State::Seek: {
                // Text between tags, a byte-order mark and header text are passed over.
                const auto* open = static_cast<const char*>(std::memchr(at, '<', end - at));
                if (!open) {
                    return;
                }
                at = open + 1;
                m_name.clear();
                m_state = State::Name;
                break;
            }
            case State::Name: {
                char c = *at++;
                if (c == '>') {
                    m_length = 0;
                    begin_value();
                } else if (c == ':') {
                    m_length = 0;
                    m_state = State::Length;
                } else if (c == '<') {
                    m_name.clear();  // a stray "<" in free text: the tag starts again here
                } else if (m_name.size() <= kLongestName) {
                    m_name += c;
                }
                break;
            }
            case State::Length: {
                char c = *at++;
                if (c >= '0' && c <= '9') {
                    m_length = std::min(m_length * 10 + static_cast<uint64_t>(c - '0'), kLengthCap);
                } else if (c == '>') {
                    begin_value();
                }
                break;
            }
            case State::Value: {
                auto take = static_cast<std::size_t>(
                    std::min<uint64_t>(m_left, static_cast<uint64_t>(end - at)));
                if (m_value.size() < kValueKept) {
                    m_value.append(at, std::min(take, kValueKept - m_value.size()));
                }
                at += take;
                m_left -= take;
                if (m_left == 0) {
                    m_state = State::Seek;
                    apply(m_tag, m_value);
                }
                break;
            }
            case State::Skip: {
                // A tag outside the table: its value is skipped by its stated length, so a
                // "<" inside it starts no tag.
                auto take = static_cast<std::size_t>(
                    std::min<uint64_t>(m_left, static_cast<uint64_t>(end - at)));
                at += take;
                m_left -= take;
                if (m_left == 0) {
                    m_state = State::Seek;
                }
                break;
            }
        }
    }
}

void AdifReader::begin_value() {
    std::string lower = m_name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    m_tag = tag_number(lower);
    m_left = m_length;
    m_value.clear();
    if (m_tag < 0) {
        m_state = m_left > 0 ? State::Skip : State::Seek;
    } else if (m_left > 0) {
        m_state = State::Value;
    } else {
        m_state = State::Seek;
        apply(m_tag, m_value);
    }
}

void AdifReader::apply(int tag, std::string_view raw) {
    std::string value = single_byte_text(raw);
    switch (tag) {
        case kQsoDate: {
            auto code = date_code_of_adif(value);
            m_bad_date = !code;
            m_date = code.value_or(0);
            break;
        }
        case kTimeOn:
            m_time_on = time_code_of_text(std::string_view(value).substr(0, 4));
            break;
        case kTimeOff:
            m_time_off = time_code_of_text(std::string_view(value).substr(0, 4));
            break;
        case kCall:
            m_call = to_upper(value);
            break;
        case kFreq:
            m_frequency = value;
            break;
        case kBand:
            m_band = value;
            break;
        case kMode:
            m_mode = value;
            break;
        case kRstRcvd:
            m_rst_received = value;
            break;
        case kRstSent:
            m_rst_sent = value;
            break;
        case kTxPwr:
            m_power = value;  // kept for the records that follow
            break;
        case kComment:
        case kName:
        case kNotes:
        case kIota:
        case kQth:
            // Pieces are joined by one blank, with none in front, so a comment comes back
            // as it was exported.
            if (m_extra.size() < kExtraKept && !trim(value).empty()) {
                m_extra += m_extra.empty() ? "" : " ";
                m_extra += trim(value);
            }
            break;
        case kQslRcvd:
            if (to_upper(value) == "Y") {
                m_qsl_bits |= 2;
            }
            break;
        case kQslSent:
            if (to_upper(value) == "Y") {
                m_qsl_bits |= 1;
            }
            break;
        case kEor:
            end_record();
            break;
        case kSubmode:
            m_submode = value;
            break;
        default:
            break;
    }
}

void AdifReader::end_record() {
    if (trim(m_call).empty()) {
        ++m_batch.skipped_no_call;
        clear_record();  // a dropped record leaves nothing behind for the next
        return;
    }
    if (m_bad_date) {
        ++m_batch.skipped_bad_date;
        clear_record();
        return;
    }
    if (m_batch.entries.size() > static_cast<std::size_t>(kMaxLogEntries)) {
        m_batch.too_many = true;  // more than any log holds: nothing more is kept
        clear_record();
        return;
    }
    double metres = leading_number(m_band);
    if (m_frequency.empty() && metres != 0) {
        m_frequency = frequency_of_band(metres);
    }
    QsoEntry entry;
    entry.date = static_cast<int16_t>(m_date);
    entry.time_on = static_cast<int16_t>(m_time_on);
    entry.time_off = static_cast<int16_t>(m_time_off == 0 ? m_time_on : m_time_off);
    entry.call = m_call;
    entry.rst_sent = m_rst_sent;
    entry.rst_received = m_rst_received;
    entry.band_field = fit(m_frequency, 3);
    // A family name such as MFSK does not fit three characters; its submode names the mode.
    entry.mode = m_mode.size() > 3 && !m_submode.empty() ? m_submode : m_mode;
    entry.power = m_power;
    entry.comment = m_extra.empty() || m_box_comment.empty() ? m_extra + m_box_comment
                                                             : m_extra + " " + m_box_comment;
    entry.qsl_flags = static_cast<uint8_t>('0' | m_qsl_bits);
    m_batch.entries.push_back(encode(entry));
    clear_record();
}

void AdifReader::clear_record() {
    m_date = 0;
    m_bad_date = false;
    m_time_on = m_time_off = 0;
    m_call.clear();
    m_rst_sent.clear();
    m_rst_received.clear();
    m_mode.clear();
    m_submode.clear();
    m_frequency.clear();
    m_band.clear();
    m_extra.clear();
    m_qsl_bits = 0;
}

ImportBatch parse_adif(std::string_view bytes, std::string_view power, std::string_view comment) {
    AdifReader reader(power, comment);
    reader.feed(bytes);
    return reader.finish();
}

std::optional<ImportBatch> read_adif_file(platform::FileSystem& files, const std::string& path,
                                          std::string_view power, std::string_view comment) {
    auto file = files.open(path, platform::OpenMode::ReadOnly);
    auto size = file ? file->size() : std::nullopt;
    if (!size) {
        return std::nullopt;
    }
    AdifReader reader(power, comment);
    std::string block(static_cast<std::size_t>(std::min<uint64_t>(*size, kReadBlock)), '\0');
    for (uint64_t offset = 0; offset < *size;) {
        auto length = static_cast<std::size_t>(std::min<uint64_t>(*size - offset, block.size()));
        if (!file->read_at(offset, block.data(), length)) {
            return std::nullopt;
        }
        reader.feed(std::string_view(block.data(), length));
        offset += length;
    }
    return reader.finish();
}

LogStatus merge_into_log(LogStore& log, platform::FileSystem& files,
                         std::vector<LogRecord> entries) {
    if (!log.is_open()) {
        return LogStatus::NotOpen;
    }
    auto key = [](const LogRecord& record) {
        return std::pair<int, int>(record.date(), record.time());
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const LogRecord& a, const LogRecord& b) { return key(a) < key(b); });

    // The merged log is written whole beside the log; the log itself is not touched until
    // the finished file takes its place.
    const std::string temporary = log.path() + ".IMP";
    auto file = files.open(temporary, platform::OpenMode::CreateTruncate);
    if (!file) {
        return LogStatus::WriteFailed;
    }
    std::vector<LogRecord> block;
    block.reserve(kReadBlock / kRecordSize);
    uint64_t offset = 0;
    bool ok = true;
    auto write_block = [&] {
        ok = ok && file->write_at(offset, block.data(), block.size() * kRecordSize);
        offset += block.size() * kRecordSize;
        block.clear();
    };
    const int count = log.count();
    std::size_t next = 0;
    for (int number = 1; (number <= count || next < entries.size()) && ok;) {
        // An imported entry goes after the log's entries of the same date and time.
        bool take_log = number <= count &&
                        (next == entries.size() || !(key(entries[next]) < key(log.entry(number))));
        block.push_back(take_log ? log.entry(number++) : entries[next++]);
        if (block.size() == block.capacity()) {
            write_block();
        }
    }
    write_block();
    ok = ok && file->flush();
    file.reset();
    LogStatus status = ok ? log.replace_with(temporary) : LogStatus::WriteFailed;
    files.remove(temporary);
    return status;
}

}  // namespace vl
