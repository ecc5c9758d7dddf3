// The simulated transceivers and rotator box: each answers as the real one does on the wire.
#include "support/SimulatedDevices.h"

#include <algorithm>
#include <cstdlib>

namespace vl::test {
namespace {

// `digits` decimal digits of `value`, most significant first.
std::string decimal(long value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0 && value > 0; --i) {
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return text;
}

std::uint8_t bcd_pair(char high, char low) {
    return static_cast<std::uint8_t>((high - '0') << 4 | (low - '0'));
}

Bytes bytes_of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace

void SimulatedRadio::turn_dial_after(int queries, long new_hertz, int new_mode) {
    m_turns.push_back({queries, new_hertz, new_mode});
}

void SimulatedRadio::frequency_asked() {
    for (const DialTurn& turn : m_turns) {
        if (turn.queries == m_frequency_queries) {
            hertz = turn.hertz;
            mode = turn.mode;
        }
    }
    ++m_frequency_queries;
}

void CivRadio::hear(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    while (true) {
        const auto end = std::find(m_buffer.begin(), m_buffer.end(), 0xFD);
        if (end == m_buffer.end()) {
            return;
        }
        const Bytes frame(m_buffer.begin(), end + 1);
        m_buffer.erase(m_buffer.begin(), end + 1);
        if (echo) {
            send(frame);
        }
        answer(frame);
    }
}

void CivRadio::answer(const Bytes& frame) {
    if (frame.size() < 6 || frame[0] != 0xFE || frame[1] != 0xFE || frame[2] != m_address) {
        return;
    }
    const std::uint8_t controller = frame[3];
    const std::uint8_t command = frame[4];
    Bytes reply{0xFE, 0xFE, controller, m_address, command};
    if (command == 0x03) {
        frequency_asked();
        const std::string digits = decimal(hertz, 10);
        for (int i = 4; i >= 0; --i) {
            reply.push_back(bcd_pair(digits[static_cast<std::size_t>(2 * i)],
                                     digits[static_cast<std::size_t>(2 * i + 1)]));
        }
    } else if (command == 0x04) {
        reply.push_back(static_cast<std::uint8_t>(mode));
        reply.push_back(0x01);  // filter
    } else {
        reply = {0xFE, 0xFE, controller, m_address, 0xFA};  // not good
    }
    reply.push_back(0xFD);
    send(reply);
}

void TextRadio::hear(std::span<const std::uint8_t> bytes) {
    m_buffer.append(bytes.begin(), bytes.end());
    std::size_t end = m_buffer.find(';');
    while (end != std::string::npos) {
        const std::string command = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
        answer(command);
        end = m_buffer.find(';');
    }
}

std::string TextRadio::frequency_digits() const {
    return decimal(hertz, m_dialect == Dialect::Kenwood ? 11 : 9);
}

void TextRadio::answer(const std::string& command) {
    const bool yaesu = m_dialect == Dialect::YaesuNewcat;
    const char mode_character = static_cast<char>(mode < 10 ? '0' + mode : 'A' + mode - 10);
    if (command == "FA") {
        frequency_asked();
        send(bytes_of("FA" + frequency_digits() + ";"));
    } else if (!yaesu && command == "IF") {
        frequency_asked();
        send(bytes_of("IF" + frequency_digits() + "     +0000000000" +
                      std::string(1, mode_character) + "0000000;"));
    } else if (!yaesu && command == "MD") {
        send(bytes_of(std::string("MD") + mode_character + ";"));
    } else if (yaesu && command == "MD0") {
        send(bytes_of(std::string("MD0") + mode_character + ";"));
    } else if (command.find('\0') == std::string::npos) {
        send(bytes_of("?;"));
    }
}

void FiveByteRadio::hear(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    while (m_buffer.size() >= 5) {
        const Bytes command(m_buffer.begin(), m_buffer.begin() + 5);
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + 5);
        answer(command);
    }
}

void FiveByteRadio::answer(const Bytes& command) {
    const std::uint8_t instruction = command[4];
    if (instruction == 0x00) {
        m_cat_on = true;
        return;
    }
    if (!m_cat_on) {
        return;
    }
    if (instruction == 0x80) {
        m_cat_on = false;
    } else if (instruction == 0x03) {
        frequency_asked();
        const std::string digits = decimal(hertz / 10, 8);
        Bytes reply;
        for (std::size_t i = 0; i < 8; i += 2) {
            reply.push_back(bcd_pair(digits[i], digits[i + 1]));
        }
        reply.push_back(static_cast<std::uint8_t>(mode));
        send(reply);
    }
}

void RotatorBox::hear(std::span<const std::uint8_t> bytes) {
    m_buffer.append(bytes.begin(), bytes.end());
    std::size_t end = m_buffer.find('\r');
    while (end != std::string::npos) {
        std::string command = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
        std::erase(command, '\x02');
        m_commands.push_back(command);
        if (command == "A?") {
            report('R');
        } else if (command.starts_with("AG") && command.size() > 2) {
            send(
                bytes_of("\x02"
                         "A,G,R\r"));
            m_target = std::clamp(std::atoi(command.c_str() + 2), 0, 360);
        }
        end = m_buffer.find('\r');
    }
}

// The box reports at its own pace: the next report once the last has gone out.
void RotatorBox::on_read() {
    if (m_target < 0 || !outgoing().empty()) {
        return;
    }
    if (std::abs(m_target - heading) <= step) {
        heading = m_target;
        m_target = -1;
        report('R');
        return;
    }
    heading += m_target > heading ? step : -step;
    report(moving);
}

void RotatorBox::report(char status) {
    send(
        bytes_of("\x02"
                 "A,?," +
                 std::to_string(heading) + "," + std::string(1, status) + "\r"));
}

}  // namespace vl::test
