// Reply lines of rigctld and rotctld, and the mode names of Hamlib.
#include "hamlib/HamlibReplies.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace vl::hamlib {

bool ReplyLines::add(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (byte == 0) {
            return false;
        }
        m_text += static_cast<char>(byte);
    }
    const std::size_t last_end = m_text.rfind('\n');
    const std::size_t open_part =
        last_end == std::string::npos ? m_text.size() : m_text.size() - last_end - 1;
    return open_part <= kLongestLine;
}

std::optional<std::string> ReplyLines::next() {
    const std::size_t end = m_text.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = m_text.substr(0, end);
    m_text.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

namespace {

template <typename Number>
std::optional<Number> whole_number(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<int> report_code(std::string_view line) {
    constexpr std::string_view kReport = "RPRT ";
    if (line.substr(0, kReport.size()) != kReport) {
        return std::nullopt;
    }
    return whole_number<int>(line.substr(kReport.size()));
}

std::optional<std::int64_t> hertz_of(std::string_view line) {
    const std::size_t point = line.find('.');
    std::string_view whole = line.substr(0, point);
    if (point != std::string_view::npos) {
        const std::string_view fraction = line.substr(point + 1);
        if (!std::all_of(fraction.begin(), fraction.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
    }
    if (whole.empty() || whole.front() == '-' || whole.front() == '+') {
        return std::nullopt;
    }
    const auto hertz = whole_number<std::int64_t>(whole);
    constexpr std::int64_t kHighest = 1'000'000'000'000;
    if (!hertz || *hertz < 1 || *hertz > kHighest) {
        return std::nullopt;
    }
    return hertz;
}

std::optional<std::string> mode_name_of(std::string_view line) {
    if (line.empty() || line.size() > 12 || line.front() < 'A' || line.front() > 'Z' ||
        !std::all_of(line.begin(), line.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); })) {
        return std::nullopt;
    }
    return std::string(line);
}

std::optional<std::int64_t> passband_of(std::string_view line) {
    if (!line.empty() && line.front() == '+') {
        return std::nullopt;
    }
    return whole_number<std::int64_t>(line);
}

std::optional<double> degrees_of(std::string_view line) {
    if (line.empty() || line.size() > 32) {
        return std::nullopt;
    }
    // Digits, one point and a leading minus only: no exponents, infinities or NaNs.
    bool point = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '-' && i == 0 && line.size() > 1) {
            continue;
        }
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    double value = 0;
    auto [stop, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || stop != line.data() + line.size() || value < -720 || value > 720) {
        return std::nullopt;
    }
    return value;
}

std::string megahertz_text(std::int64_t hertz) {
    // Rounded to 100 Hz, as a rig definition's frequency is shown.
    const std::int64_t hundreds = (hertz + 50) / 100;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%04lld", static_cast<long long>(hundreds / 10000),
                  static_cast<long long>(hundreds % 10000));
    return text;
}

namespace {

bool one_of(std::string_view mode, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), mode) != names.end();
}

bool is_voice(std::string_view mode) {
    return one_of(mode, {"SSB", "USB", "LSB", "J3E"});
}

// A mode that is neither voice, CW, AM nor FM: the data mode of the log.
bool is_data(std::string_view mode) {
    return !mode.empty() && !is_voice(mode) &&
           !one_of(mode, {"CW", "CWR", "A1A", "AM", "A3E", "FM", "F3E", "WFM"});
}

}  // namespace

std::string log_mode_of(std::string_view hamlib_mode, std::string_view band_mode,
                        std::string_view shown_mode) {
    struct Row {
        std::string_view hamlib;
        std::string_view log;
    };
    static constexpr std::array<Row, 16> kFixed = {{{"CW", "CW"},
                                                    {"CWR", "CW"},
                                                    {"RTTY", "RTY"},
                                                    {"RTTYR", "RTY"},
                                                    {"AM", "AM"},
                                                    {"AMS", "AM"},
                                                    {"SAM", "AM"},
                                                    {"SAL", "AM"},
                                                    {"SAH", "AM"},
                                                    {"DSB", "AM"},
                                                    {"FM", "FM"},
                                                    {"FMN", "FM"},
                                                    {"WFM", "FM"},
                                                    {"FAX", "FAX"},
                                                    {"C4FM", "C4F"},
                                                    {"DSTAR", "DST"}}};
    for (const Row& row : kFixed) {
        if (row.hamlib == hamlib_mode) {
            return std::string(row.log);
        }
    }
    std::string mode;
    if (one_of(hamlib_mode, {"USB", "LSB", "ECSSUSB", "ECSSLSB"})) {
        // A station that logs the sideband gets the one the radio is on.
        if (one_of(band_mode, {"USB", "LSB"})) {
            mode = hamlib_mode.ends_with("LSB") ? "LSB" : "USB";
        } else {
            mode = is_voice(band_mode) ? std::string(band_mode) : "SSB";
        }
    } else if (one_of(hamlib_mode, {"PKTUSB", "PKTLSB", "PKTFM", "PKTAM", "PKTFMN"})) {
        mode = is_data(shown_mode)  ? std::string(shown_mode)
               : is_data(band_mode) ? std::string(band_mode)
                                    : "PKT";
    }
    return mode.substr(0, 3);
}

}  // namespace vl::hamlib
