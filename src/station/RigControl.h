// The transceiver over CAT: the port of the rig definition, opened at start-up and closed at
// exit, polled once a second by on-line logging for the frequency and mode.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Serial.h"
#include "station/CatFrames.h"
#include "station/RigDefinition.h"

namespace vl {

// The operator's table of port numbers to devices, in the program folder.
inline constexpr std::string_view kPortTableFile = "PORTS.TXT";
// The table's text; empty when there is none.
std::string read_port_table(platform::FileSystem& fs, const std::string& folder);

struct RigReading {
    std::string frequency;  // megahertz, four decimals; empty when nothing was decoded
    std::string mode;       // empty when no mode was decoded
    // The radio's own name for the mode, for a link whose names are not the log's (Hamlib's
    // "PKTUSB"); the mode is then chosen from it. Empty otherwise.
    std::string radio_mode;
};

class RigControl {
public:
    RigControl() = default;
    RigControl(const RigControl&) = delete;
    RigControl& operator=(const RigControl&) = delete;
    ~RigControl() { close(); }

    // Opens and sets up the port. Returns the device name when it could not be opened
    // ("COM1"), for the " not available" message; the rig is then never polled.
    std::optional<std::string> set_up(const RigDefinition& rig, platform::SerialPorts* ports,
                                      std::string_view port_table);
    // Reads what has arrived, decodes whole replies and sends the next query. Never waits.
    RigReading poll();
    // RTS low, then the port closed.
    void close();
    bool ready() const { return m_ready; }

private:
    std::unique_ptr<platform::SerialPort> m_port;
    std::optional<CatSession> m_session;
    std::vector<std::string> m_mode_names;
    bool m_ready = false;
};

}  // namespace vl
