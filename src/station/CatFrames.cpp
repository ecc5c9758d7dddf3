// Decoding of the ten frequency formats, each from whole frames only.
#include "station/CatFrames.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace vl {
namespace {

// A port that streams garbage must not grow memory without bound.
constexpr std::size_t kMaxBuffered = 4096;
// A CI-V frame longer than this without its FD end byte is noise.
constexpr std::size_t kMaxAddressedFrame = 64;
constexpr double kLowestHertz = 100000.0;

int hex_digit(int c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// BCD bytes in the given order; nothing when a nibble is not a decimal digit.
template <typename Indexes>
std::optional<double> bcd(std::span<const std::uint8_t> frame, const Indexes& indexes) {
    double value = 0;
    for (const std::size_t index : indexes) {
        if (index >= frame.size()) {
            return std::nullopt;
        }
        const int high = frame[index] >> 4;
        const int low = frame[index] & 0x0F;
        if (high > 9 || low > 9) {
            return std::nullopt;
        }
        value = value * 100 + 10 * high + low;
    }
    return value;
}

std::optional<int> masked_byte(std::span<const std::uint8_t> frame, int position, int mask) {
    if (position < 1 || static_cast<std::size_t>(position) > frame.size()) {
        return std::nullopt;
    }
    return frame[static_cast<std::size_t>(position) - 1] & mask;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> cat_bytes_of_hex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (const char c : text) {
        if (c != ' ' && c != '\r' && c != '\n') {
            digits += c;
        }
    }
    if (digits.size() % 2 != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hex_digit(digits[i]);
        const int low = hex_digit(digits[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::string cat_frequency_text(double hertz) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", hertz / 1000000.0);
    return text;
}

CatSession::CatSession(CatFormat format) : m_format(std::move(format)) {}

void CatSession::receive(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    m_received = true;
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    if (m_buffer.size() > kMaxBuffered) {
        m_buffer.erase(m_buffer.begin(),
                       m_buffer.end() - static_cast<std::ptrdiff_t>(kMaxBuffered));
    }
}

CatPollResult CatSession::poll() {
    CatPollResult result;
    result.next_command = m_format.query;
    switch (m_format.code) {
        case 1:
            poll_text(result);
            break;
        case 3:
            poll_addressed(result);
            break;
        case 0:
        case 2:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
            poll_binary(result);
            break;
        default:
            m_buffer.clear();
            break;
    }
    m_received = false;
    if (result.hertz && *result.hertz < kLowestHertz) {
        result.hertz.reset();
    }
    return result;
}

// Text replies end with ";". A mode reply ("MD0x;" from the newer radios, "MDx;" from the
// older) is told from a frequency reply by its letters, not by what was asked last, so a late
// reply is never read as the other kind.
void CatSession::poll_text(CatPollResult& result) {
    bool frequency_decoded = false;
    std::size_t begin = 0;
    for (std::size_t end = 0; end < m_buffer.size(); ++end) {
        if (m_buffer[end] != ';') {
            continue;
        }
        // Line noise before a reply is passed over: every reply begins with its letters.
        std::size_t first = begin;
        while (first < end && (m_buffer[first] < 'A' || m_buffer[first] > 'Z')) {
            ++first;
        }
        const std::span<const std::uint8_t> frame(m_buffer.data() + first, end + 1 - first);
        begin = end + 1;
        if (frame.size() >= 4 && frame[0] == 'M' && frame[1] == 'D') {
            const std::size_t at = frame.size() >= 5 ? 3 : 2;
            const int value = hex_digit(frame[at]);
            if (value >= 0) {
                result.mode_index = value & m_format.mode_mask;
            }
            continue;
        }
        const auto start = static_cast<std::size_t>(std::max(m_format.frequency_start, 1)) - 1;
        const auto length = static_cast<std::size_t>(std::max(m_format.frequency_length, 0));
        if (length == 0 || start + length > frame.size() - 1) {
            continue;
        }
        double value = 0;
        bool digits = true;
        for (std::size_t i = start; i < start + length; ++i) {
            if (frame[i] < '0' || frame[i] > '9') {
                digits = false;
                break;
            }
            value = value * 10 + (frame[i] - '0');
        }
        if (!digits) {
            continue;
        }
        result.hertz = value;
        frequency_decoded = true;
        if (m_format.mode_position != 0) {
            if (auto mode = masked_byte(frame, m_format.mode_position, m_format.mode_mask)) {
                result.mode_index = mode;
            }
        }
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(begin));
    if (m_buffer.size() > 64) {
        m_buffer.clear();  // no terminator in sight: noise
    }
    if (frequency_decoded && m_format.mode_position == 0 && !m_mode_query_pending) {
        m_mode_query_pending = true;
        result.next_command = {'M', 'D', '0', ';'};
    } else {
        m_mode_query_pending = false;
    }
}

// CI-V frames run from FE FE to FD. Our own command echoed on the bus is addressed to the
// radio, not to E0, and is passed over.
void CatSession::poll_addressed(CatPollResult& result) {
    const std::uint8_t address = m_format.query.size() >= 3 ? m_format.query[2] : 0;
    std::size_t consumed = 0;
    std::size_t i = 0;
    while (i + 1 < m_buffer.size()) {
        if (m_buffer[i] != 0xFE || m_buffer[i + 1] != 0xFE) {
            ++i;
            consumed = i;
            continue;
        }
        std::size_t header = i;
        while (header + 2 < m_buffer.size() && m_buffer[header + 2] == 0xFE) {
            ++header;  // a preamble of more than two FE bytes
        }
        std::size_t end = header + 2;
        while (end < m_buffer.size() && m_buffer[end] != 0xFD &&
               end - header < kMaxAddressedFrame) {
            ++end;
        }
        if (end >= m_buffer.size()) {
            break;  // the rest of the frame comes later
        }
        const std::span<const std::uint8_t> frame(m_buffer.data() + header, end + 1 - header);
        i = end + 1;
        consumed = i;
        if (m_buffer[end] != 0xFD || frame.size() < 6 || frame[2] != 0xE0 || frame[3] != address) {
            continue;
        }
        if (frame[4] == 0x04) {
            if (auto mode = masked_byte(frame, m_format.mode_position, m_format.mode_mask)) {
                result.mode_index = mode;
            }
        } else if (frame[4] == 0x03 && frame.size() >= 11) {
            std::vector<std::size_t> order;
            const int start = m_format.frequency_start;
            for (int k = 0; k < m_format.frequency_length; ++k) {
                const int position = start - k;
                // Only the data bytes between the header and FD hold the frequency.
                if (position < 6 || static_cast<std::size_t>(position) >= frame.size()) {
                    order.clear();
                    break;
                }
                order.push_back(static_cast<std::size_t>(position) - 1);
            }
            if (!order.empty()) {
                if (auto value = bcd(frame, order)) {
                    result.hertz = value;
                }
            }
        }
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(
                                                            std::min(consumed, m_buffer.size())));
    // Frequency and mode queries take turns on every poll that heard the radio.
    if (m_received && m_format.query.size() >= 5) {
        m_format.query[4] ^= 7;
    }
    result.next_command = m_format.query;
}

// The bytes a binary reply must hold before it is decoded.
std::size_t CatSession::binary_reply_length() const {
    const int field_end = m_format.frequency_start + m_format.frequency_length - 1;
    return static_cast<std::size_t>(std::max({field_end, m_format.mode_position, 1}));
}

// Binary replies have no terminator: a reply is whole once it reaches the length the
// definition reads from. One query is sent a second, so what a poll holds is one reply (or
// the same reply twice, decoded from its first copy); a part that stays short for a second
// poll is dropped.
void CatSession::poll_binary(CatPollResult& result) {
    const int code = m_format.code;
    if (code == 5 && m_buffer.size() == 5) {
        // The radio echoed the command: acknowledge it to get the status bytes.
        m_buffer.clear();
        m_partial_age = 0;
        result.next_command = {0x00, 0x00, 0x00, 0x00, 0x0B};
        return;
    }
    const std::size_t needed = binary_reply_length();
    if (m_buffer.size() < needed || m_format.frequency_length <= 0 ||
        m_format.frequency_start < 1) {
        if (!m_buffer.empty() && ++m_partial_age >= 2) {
            m_buffer.clear();
            m_partial_age = 0;
        }
        return;
    }
    const std::span<const std::uint8_t> reply(m_buffer);
    const auto start = static_cast<std::size_t>(m_format.frequency_start) - 1;
    const auto length = static_cast<std::size_t>(m_format.frequency_length);
    const std::span<const std::uint8_t> field = reply.subspan(start, length);
    std::optional<double> value;
    if (code == 4) {
        std::vector<std::size_t> order;
        for (std::size_t k = 0; k < std::min<std::size_t>(4, length); ++k) {
            order.push_back(k);
        }
        value = bcd(field, order);
        if (value) {
            *value *= 10;
        }
    } else if (code == 5 || code == 7) {
        std::vector<std::size_t> order;
        for (std::size_t k = std::min<std::size_t>(4, length); k > 0; --k) {
            order.push_back(k - 1);
        }
        value = bcd(field, order);
        if (value) {
            *value *= 10;
        }
        if (code == 5) {
            result.next_command = {0x00, 0x00, 0x00, 0x01, 0x00};
        }
    } else {
        double number = 0;
        for (const std::uint8_t byte : field) {
            number = number * 256 + byte;
        }
        if (code == 8) {
            number *= 320;
        }
        if (code == 2) {
            number *= 0.625;
        }
        if (length == 3) {
            number *= 10;
        }
        if (code == 6) {
            number /= 160;
        }
        value = number;
    }
    int mode_position = m_format.mode_position;
    if (code == 9 && reply.size() >= 6) {
        if (result.next_command.size() >= 8) {
            result.next_command[7] = reply[5];
        }
        mode_position = reply[5] == 'A' ? 12 : 13;
    }
    if (value && *value >= kLowestHertz) {
        result.hertz = value;
        if (mode_position != 0) {
            result.mode_index = masked_byte(reply, mode_position, m_format.mode_mask);
        }
    }
    m_buffer.clear();
    m_partial_age = 0;
}

}  // namespace vl
