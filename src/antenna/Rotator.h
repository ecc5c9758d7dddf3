// The rotator control box ("CBOX") on a serial port: STX text CR frames both ways. It reports
// the antenna's heading while on-line logging is open and turns it to a bearing on command.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Serial.h"

namespace vl {

struct RotatorEvents {
    std::optional<std::string> heading;  // the last position report of this poll
    bool beep = false;                   // every fifth report while the antenna moves
    bool no_response = false;            // the box never answered: the port is now closed
    std::string why;  // the no-response message of a link other than the box; empty for the box
};

// The heading of a position report line (STX and CR removed), and whether the antenna is
// at rest; nothing when the line is not a position report.
struct RotatorReport {
    std::string heading;
    bool at_rest = false;
};
std::optional<RotatorReport> parse_rotator_report(std::string_view line);

class Rotator {
public:
    // Opens the port and sends the opening commands; false when it cannot be opened.
    bool open(platform::SerialPorts* ports, const std::string& device_path);
    // Every 100 ms. Never waits.
    RotatorEvents poll();
    // "AG" + the bearing text; nothing when the port is not open.
    void turn(std::string_view bearing);
    void close() { m_port.reset(); }
    bool is_open() const { return m_port != nullptr; }

private:
    void send(std::string_view text);

    std::unique_ptr<platform::SerialPort> m_port;
    std::string m_buffer;
    int m_pending_replies = 0;
    int m_silent_ticks = 0;
    int m_movement_reports = 0;
};

}  // namespace vl
