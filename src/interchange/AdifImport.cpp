// ADIF import: the tag reader and the merge of its entries into the log.
#include "interchange/AdifImport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "interchange/AdifModes.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "platform/Cp1252.h"

namespace vl {

namespace {

// The tags the reader takes; every other tag is skipped by its stated length.
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

// Tag names are compared without regard to case.
int tag_number(std::string_view name) {
    if (name.empty() || name.size() > kLongestName) {
        return -1;
    }
    char lower[kLongestName];
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    // Only the names of the same length are compared.
    auto is = [&](std::string_view tag) { return std::memcmp(lower, tag.data(), tag.size()) == 0; };
    switch (name.size()) {
        case 3:
            return is("eor") ? kEor : is("qth") ? kQth : is("eoh") ? kEoh : -1;
        case 4:
            return is("call")   ? kCall
                   : is("freq") ? kFreq
                   : is("mode") ? kMode
                   : is("band") ? kBand
                   : is("name") ? kName
                   : is("iota") ? kIota
                                : -1;
        case 5:
            return is("notes") ? kNotes : -1;
        case 6:
            return is("tx_pwr") ? kTxPwr : -1;
        case 7:
            return is("time_on")   ? kTimeOn
                   : is("comment") ? kComment
                   : is("submode") ? kSubmode
                                   : -1;
        case 8:
            return is("qso_date")   ? kQsoDate
                   : is("time_off") ? kTimeOff
                   : is("rst_sent") ? kRstSent
                   : is("rst_rcvd") ? kRstRcvd
                   : is("qsl_sent") ? kQslSent
                   : is("qsl_rcvd") ? kQslRcvd
                   : is("operator") ? kOperator
                                    : -1;
        default:
            return -1;
    }
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

// The first kValueKept bytes of a value, not ending inside a UTF-8 character.
std::string_view kept_part(std::string_view value) {
    if (value.size() <= kValueKept) {
        return value;
    }
    std::size_t cut = kValueKept;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return value.substr(0, cut);
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

// The frequency text of a band given by its ADIF name, for records without a frequency.
// Working it out as 300 divided by the wavelength files 80 m as 160 m, 17 m and 2 m as 20 m
// and 70 cm as 80 m once cut to three characters, so the log's bands are named here; a band
// the log has no number for gets no frequency.
std::string frequency_of_band(std::string_view band) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kBands = {{
        {"160m", "1.8"},
        {"80m", "3.5"},
        {"60m", "5.3"},
        {"40m", "7"},
        {"30m", "10.1"},
        {"20m", "14"},
        {"17m", "18.1"},
        {"15m", "21"},
        {"12m", "24.9"},
        {"10m", "28"},
        {"6m", "50"},
        {"4m", "70"},
        {"2m", "144"},
        {"70cm", "430"},
    }};
    std::string name = to_upper(trim(band));
    for (const auto& [known, frequency] : kBands) {
        if (to_upper(known) == name) {
            return std::string(frequency);
        }
    }
    return "";
}

}  // namespace

AdifReader::AdifReader(std::string_view power, std::string_view comment)
    : m_power(power), m_box_comment(comment) {}

void AdifReader::feed(std::string_view bytes) {
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    while (at < end) {
        switch (m_state) {
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
                const char* stop = at;
                while (stop < end && *stop != '>' && *stop != ':' && *stop != '<') {
                    ++stop;
                }
                // A name longer than any known one is kept just long enough to be unknown.
                std::size_t room = kLongestName + 1 - std::min(m_name.size(), kLongestName + 1);
                m_name.append(at, std::min(static_cast<std::size_t>(stop - at), room));
                at = stop;
                if (at == end) {
                    break;
                }
                char c = *at++;
                if (c == '>') {
                    m_length = 0;
                    begin_value();
                } else if (c == ':') {
                    m_length = 0;
                    m_state = State::Length;
                } else {
                    m_name.clear();  // a stray "<" in free text: the tag starts again here
                }
                break;
            }
            case State::Length: {
                while (at < end && m_state == State::Length) {
                    char c = *at++;
                    if (c >= '0' && c <= '9') {
                        m_length =
                            std::min(m_length * 10 + static_cast<uint64_t>(c - '0'), kLengthCap);
                    } else if (c == '>') {
                        begin_value();
                    }
                }
                break;
            }
            case State::Value: {
                // A value wholly inside this block is used where it lies.
                if (m_value.empty() && m_left <= static_cast<uint64_t>(end - at)) {
                    std::string_view value(at, static_cast<std::size_t>(m_left));
                    at += m_left;
                    m_left = 0;
                    m_state = State::Seek;
                    apply(m_tag, kept_part(value));
                    break;
                }
                auto take = static_cast<std::size_t>(
                    std::min<uint64_t>(m_left, static_cast<uint64_t>(end - at)));
                // One byte more than is kept, so the cut can be made at a whole character.
                if (m_value.size() <= kValueKept) {
                    m_value.append(at, std::min(take, kValueKept + 1 - m_value.size()));
                }
                at += take;
                m_left -= take;
                if (m_left == 0) {
                    m_state = State::Seek;
                    apply(m_tag, kept_part(m_value));
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
    m_tag = tag_number(m_name);
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
    // Modern files are UTF-8; older ones are already single-byte text and stay as they are.
    std::string converted;
    std::string_view value = raw;
    if (is_valid_utf8_with_high_bytes(raw)) {
        converted = platform::cp1252_from_utf8(raw);
        value = converted;
    }
    switch (tag) {
        case kQsoDate: {
            auto code = date_code_of_adif(value);
            m_bad_date = !code;
            m_has_date = true;
            m_date = code.value_or(0);
            break;
        }
        case kTimeOn:
            m_time_on = time_code_of_text(value.substr(0, 4));
            break;
        case kTimeOff:
            m_time_off = time_code_of_text(value.substr(0, 4));
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
    if (!m_has_date) {
        ++m_batch.skipped_no_date;
        clear_record();
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
    if (m_frequency.empty()) {
        m_frequency = frequency_of_band(m_band);
    }
    // The record is filled field by field rather than through encode(), without the copies.
    LogRecord& record = m_batch.entries.emplace_back();
    record.set_date(static_cast<int16_t>(m_date));
    record.set_time(static_cast<int16_t>(m_time_on));
    record.set_time_off(static_cast<int16_t>(m_time_off == 0 ? m_time_on : m_time_off));
    record.set_call(m_call);
    record.set_rst_sent(m_rst_sent);
    record.set_rst_received(m_rst_received);
    record.set_band_field(m_frequency);
    record.set_mode(log_mode_of(m_mode, m_submode));
    record.set_power(m_power);
    if (m_extra.empty()) {
        record.set_comment(m_box_comment);
    } else if (!m_box_comment.empty() && m_extra.size() < record.comment_field().size()) {
        record.set_comment(m_extra + " " + m_box_comment);
    } else {
        record.set_comment(m_extra);
    }
    record.set_qsl_flags(static_cast<uint8_t>('0' | m_qsl_bits));
    clear_record();
}

void AdifReader::clear_record() {
    m_date = 0;
    m_bad_date = m_has_date = false;
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

LogStatus merge_into_log(LogStore& log, std::vector<LogRecord> entries) {
    if (!log.is_open()) {
        return LogStatus::NotOpen;
    }
    auto earlier = [](const LogRecord& a, const LogRecord& b) {
        return std::pair<int, int>(a.date(), a.time()) < std::pair<int, int>(b.date(), b.time());
    };
    if (!std::is_sorted(entries.begin(), entries.end(), earlier)) {
        std::stable_sort(entries.begin(), entries.end(), earlier);
    }
    return log.merge_in_order(entries);
}

}  // namespace vl
