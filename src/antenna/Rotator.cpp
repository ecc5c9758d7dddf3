// Rotator box frames: lines collected across polls, position reports decoded from whole
// lines only.
#include "antenna/Rotator.h"

#include <array>
#include <cstdint>

namespace vl {
namespace {

constexpr char kStx = '\x02';
constexpr char kCr = '\r';
constexpr int kSilentTicksAllowed = 50;  // five seconds of 100 ms ticks
// A box streaming noise without CR must not grow memory without bound.
constexpr std::size_t kMaxLine = 256;

}  // namespace

std::optional<RotatorReport> parse_rotator_report(std::string_view line) {
    if (line.size() < 5 || line[2] != '?') {
        return std::nullopt;
    }
    // One to three characters from the fifth, each of the second and third ended by ",".
    std::size_t end = 5;
    while (end < line.size() && end < 7 && line[end] != ',') {
        ++end;
    }
    RotatorReport report;
    report.heading = std::string(line.substr(4, end - 4));
    // A garbled line is no heading to put before the operator.
    for (const char c : report.heading) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    const std::size_t status = end + 1;
    report.at_rest = status < line.size() && line.substr(status) == "R";
    return report;
}

bool Rotator::open(platform::SerialPorts* ports, const std::string& device_path) {
    m_port.reset();
    if (ports != nullptr && !device_path.empty()) {
        m_port = ports->open(device_path);
    }
    if (!m_port) {
        return false;
    }
    m_port->configure({9600, 'N', 8, 1});
    send("AM");
    send("A?");
    m_pending_replies = 1;
    // Each opening gets its five seconds: a box that went silent before is asked again.
    m_silent_ticks = 0;
    // A line cut off when the screen last closed would spoil the first report of this one.
    m_buffer.clear();
    m_movement_reports = 0;
    return true;
}

void Rotator::send(std::string_view text) {
    if (!m_port) {
        return;
    }
    std::string frame;
    frame += kStx;
    frame += text;
    frame += kCr;
    m_port->write(std::span(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size()));
}

void Rotator::turn(std::string_view bearing) {
    send("AG" + std::string(bearing));
}

RotatorEvents Rotator::poll() {
    RotatorEvents events;
    if (!m_port) {
        return events;
    }
    std::array<std::uint8_t, 1024> bytes{};
    const std::size_t got = m_port->read(bytes);
    if (got == 0) {
        if (m_pending_replies != 0 && m_silent_ticks == kSilentTicksAllowed) {
            m_silent_ticks = kSilentTicksAllowed + 1;
            events.no_response = true;
            close();
        } else if (m_silent_ticks < kSilentTicksAllowed) {
            ++m_silent_ticks;
        }
        return events;
    }
    m_silent_ticks = 0;
    m_buffer.append(reinterpret_cast<const char*>(bytes.data()), got);
    std::size_t cr = m_buffer.find(kCr);
    while (cr != std::string::npos) {
        std::string line;
        for (const char c : std::string_view(m_buffer).substr(0, cr)) {
            if (c != kStx) {
                line += c;
            }
        }
        m_buffer.erase(0, cr + 1);
        if (m_pending_replies > 0) {
            --m_pending_replies;
        }
        if (auto report = parse_rotator_report(line)) {
            events.heading = report->heading;
            if (!report->at_rest) {
                if (m_movement_reports == 4) {
                    events.beep = true;
                    m_movement_reports = 0;
                } else {
                    ++m_movement_reports;
                }
            }
        }
        cr = m_buffer.find(kCr);
    }
    if (m_buffer.size() > kMaxLine) {
        m_buffer.clear();
    }
    return events;
}

}  // namespace vl
