// What Hamlib's daemons answer, read as untrusted text: whole lines collected across reads,
// each reply line parsed on its own, and Hamlib's mode names turned into the log's modes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vl::hamlib {

// Lines as they arrive, LF ended (a CR before it is dropped). A line longer than any reply
// makes the collector give up: the daemon is not speaking the protocol.
class ReplyLines {
public:
    static constexpr std::size_t kLongestLine = 200;
    // False when the bytes broke the protocol (a line too long, a NUL).
    bool add(std::span<const std::uint8_t> bytes);
    std::optional<std::string> next();
    void clear() { m_text.clear(); }

private:
    std::string m_text;
};

// "RPRT n": Hamlib's status line; the code (0 is success).
std::optional<int> report_code(std::string_view line);
// A frequency in hertz: digits, with an optional fraction that is dropped; 1 Hz to 1 THz.
std::optional<std::int64_t> hertz_of(std::string_view line);
// A mode name: one to twelve capital letters and digits, a letter first ("USB", "PKTUSB", "C4FM").
std::optional<std::string> mode_name_of(std::string_view line);
// A whole number of hertz (the passband).
std::optional<std::int64_t> passband_of(std::string_view line);
// Degrees, as the rotator daemon prints them ("220.000000", "-0.50").
std::optional<double> degrees_of(std::string_view line);

// Frequency text as the frequency list holds it: megahertz with four decimals ("14.0740").
std::string megahertz_text(std::int64_t hertz);

// The log's mode (three characters at most) for Hamlib's mode name. Sideband voice takes the
// band's station mode when that is a voice mode, else SSB; the packet modes take the data
// mode in use (the mode shown, else the band's station mode), else PKT. Empty for a name the
// log has no mode for.
std::string log_mode_of(std::string_view hamlib_mode, std::string_view band_mode,
                        std::string_view shown_mode);

}  // namespace vl::hamlib
