// Rig set-up from the definition's six lines, and the once-a-second poll.
#include "station/RigControl.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace vl {
namespace {

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = line.find(',', begin);
        std::string field = line.substr(begin, comma - begin);
        while (!field.empty() && field.front() == ' ') {
            field.erase(field.begin());
        }
        while (!field.empty() && (field.back() == ' ' || field.back() == '\r')) {
            field.pop_back();
        }
        fields.push_back(field);
        if (comma == std::string::npos) {
            return fields;
        }
        begin = comma + 1;
    }
}

int number_of(const std::vector<std::string>& fields, std::size_t index) {
    int number = 0;
    if (index < fields.size()) {
        const std::string& text = fields[index];
        std::from_chars(text.data(), text.data() + text.size(), number);
    }
    return number;
}

// Line 1 ends with ",P,D,S": parity letter, data bits and stop bits.
platform::SerialSettings settings_of(const RigDefinition& rig) {
    platform::SerialSettings settings;
    settings.speed = rig.speed;
    const std::string& line = rig.lines[0];
    if (line.size() >= 6) {
        const std::string tail = line.substr(line.size() - 6);
        settings.parity = tail[1];
        settings.data_bits = tail[3] - '0';
        settings.stop_bits = tail[5] == '2' ? 2 : 1;
    }
    return settings;
}

}  // namespace

std::string read_port_table(platform::FileSystem& fs, const std::string& folder) {
    return read_whole_file(fs, folder + std::string(kPortTableFile), 65536).value_or("");
}

std::optional<std::string> RigControl::set_up(const RigDefinition& rig,
                                              platform::SerialPorts* ports,
                                              std::string_view port_table) {
    close();
    CatFormat format;
    format.query = cat_bytes_of_hex(rig.lines[1]).value_or(std::vector<std::uint8_t>{});
    const std::vector<std::string> layout = fields_of(rig.lines[2]);
    format.frequency_start = number_of(layout, 0);
    format.frequency_length = number_of(layout, 1);
    format.code = layout.size() >= 3 ? number_of(layout, 2) : -1;
    const std::vector<std::string> modes = fields_of(rig.lines[3]);
    format.mode_position = number_of(modes, 0);
    format.mode_mask = number_of(modes, 1);
    m_mode_names.clear();
    for (std::size_t i = 2; i < modes.size() && i < 18; ++i) {
        m_mode_names.push_back(modes[i]);
    }
    m_session.emplace(format);
    m_ready = true;

    const std::string device = "COM" + rig.port;
    if (ports != nullptr) {
        m_port = ports->open(platform::serial_device_path(rig.port, port_table));
    }
    if (!m_port) {
        return device;
    }
    m_port->configure(settings_of(rig));
    if (rig.name == "FT767GX.RIG") {
        m_port->set_rts(false);
        m_port->set_dtr(false);
    } else {
        m_port->set_rts(true);
    }
    if (rig.name == "FT847.RIG") {
        // CAT on.
        const std::array<std::uint8_t, 5> cat_on{};
        m_port->write(cat_on);
    }
    return std::nullopt;
}

RigReading RigControl::poll() {
    RigReading reading;
    if (!m_ready || !m_port || !m_session) {
        return reading;
    }
    // The receive queue holds 1024 bytes; more than that is not waited for or kept.
    std::array<std::uint8_t, 1024> buffer{};
    std::size_t total = 0;
    while (total < buffer.size()) {
        const std::size_t got = m_port->read(std::span(buffer).subspan(total));
        if (got == 0) {
            break;
        }
        total += got;
    }
    m_session->receive(std::span(buffer).first(total));
    const CatPollResult result = m_session->poll();
    if (result.hertz) {
        reading.frequency = cat_frequency_text(*result.hertz);
    }
    if (result.mode_index && static_cast<std::size_t>(*result.mode_index) < m_mode_names.size()) {
        reading.mode = m_mode_names[static_cast<std::size_t>(*result.mode_index)];
    }
    if (!result.next_command.empty()) {
        m_port->write(result.next_command);
    }
    return reading;
}

void RigControl::close() {
    if (m_port) {
        m_port->set_rts(false);
        m_port.reset();
    }
    m_ready = false;
}

}  // namespace vl
