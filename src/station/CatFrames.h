// CAT replies turned into a frequency and a mode. The bytes of a port are collected per port
// and decoded only as whole frames, so a reply split across two polls or two replies in one
// read never give a wrong frequency; garbled bytes decode to nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vl {

// What a rig definition says about the transceiver's replies.
struct CatFormat {
    std::vector<std::uint8_t> query;
    int frequency_start = 1;  // 1-based
    int frequency_length = 0;
    int code = -1;
    int mode_position = 0;  // 0: the frequency reply holds no mode
    int mode_mask = 0;
};

// Line 2 (hexadecimal pairs) to bytes; nothing when a pair is not hexadecimal.
std::optional<std::vector<std::uint8_t>> cat_bytes_of_hex(const std::string& text);

struct CatPollResult {
    std::optional<double> hertz;    // at least 100000 Hz, else nothing
    std::optional<int> mode_index;  // already masked
    std::vector<std::uint8_t> next_command;
};

// One port's conversation with the transceiver.
class CatSession {
public:
    explicit CatSession(CatFormat format);

    // Bytes read from the port since the last poll.
    void receive(std::span<const std::uint8_t> bytes);
    // Decodes every whole frame received, keeps a partial one for the next poll, and says
    // what to send next.
    CatPollResult poll();

    const CatFormat& format() const { return m_format; }

private:
    void poll_text(CatPollResult& result);
    void poll_addressed(CatPollResult& result);
    void poll_binary(CatPollResult& result);
    std::size_t binary_reply_length() const;

    CatFormat m_format;
    std::vector<std::uint8_t> m_buffer;
    int m_partial_age = 0;  // polls a partial binary reply has waited
    bool m_mode_query_pending = false;
    bool m_received = false;
};

// The frequency text the logging screen shows: megahertz with four decimals.
std::string cat_frequency_text(double hertz);

}  // namespace vl
