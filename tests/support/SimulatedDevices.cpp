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

void FramedDevice::hear(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    while (true) {
        const auto end = m_length == 0 ? std::find(m_buffer.begin(), m_buffer.end(), m_end)
                         : m_buffer.size() >= m_length ? m_buffer.begin() + m_length - 1
                                                       : m_buffer.end();
        if (end == m_buffer.end()) {
            return;
        }
        const Bytes frame(m_buffer.begin(), end + 1);
        m_buffer.erase(m_buffer.begin(), end + 1);
        answer(frame);
    }
}

void SimulatedRadio::turn_dial_after(int queries, long new_hertz, int new_mode) {
    m_turn_at = queries;
    m_turned_hertz = new_hertz;
    m_turned_mode = new_mode;
}

void SimulatedRadio::frequency_asked() {
    if (m_queries++ == m_turn_at) {
        hertz = m_turned_hertz;
        mode = m_turned_mode;
    }
}

void CivRadio::answer(const Bytes& frame) {
    if (echo) {
        send(frame);
    }
    if (frame.size() < 6 || frame[0] != 0xFE || frame[1] != 0xFE || frame[2] != m_address) {
        return;
    }
    const std::uint8_t command = frame[4];
    const Bytes data(frame.begin() + 5, frame.end() - 1);
    const auto mode_byte = static_cast<std::uint8_t>(mode);
    Bytes reply{0xFE, 0xFE, frame[3], m_address, command};
    if (command == 0x03 || (command == 0x25 && data.size() == 1)) {
        frequency_asked();
        reply.insert(reply.end(), data.begin(), data.end());  // the VFO asked for
        const std::string digits = decimal(hertz, 10);
        for (int i = 4; i >= 0; --i) {
            reply.push_back(bcd_pair(digits[static_cast<std::size_t>(2 * i)],
                                     digits[static_cast<std::size_t>(2 * i + 1)]));
        }
    } else if (command == 0x04) {
        reply.insert(reply.end(), {mode_byte, 0x01});  // filter 1
    } else if (command == 0x26 && data.size() == 1) {
        reply.insert(reply.end(), {data[0], mode_byte, 0x00, 0x01});
    } else if (command == 0x1A && data == Bytes{0x06}) {
        reply.insert(reply.end(), {0x06, 0x00, 0x00});
    } else {
        const Bytes taken{0x05, 0x06, 0x07, 0x0F, 0x14, 0x16, 0x1A, 0x1C, 0x25, 0x26};
        const bool good = std::find(taken.begin(), taken.end(), command) != taken.end();
        reply.back() = good ? 0xFB : 0xFA;
    }
    reply.push_back(0xFD);
    send(reply);
}

void TextRadio::answer(const Bytes& frame) {
    const std::string command(frame.begin(), frame.end() - 1);
    const bool yaesu = m_dialect == Dialect::YaesuNewcat;
    if (command == "FA" || (!yaesu && command == "IF")) {
        frequency_asked();  // the dial may turn now
    }
    const std::string frequency = decimal(hertz, yaesu ? 9 : 11);
    const char mode_character = static_cast<char>(mode < 10 ? '0' + mode : 'A' + mode - 10);
    if (command == "FA") {
        send(bytes_of("FA" + frequency + ";"));
    } else if (!yaesu && command == "IF") {
        send(bytes_of("IF" + frequency + "     +0000000000" + std::string(1, mode_character) +
                      "0000000;"));
    } else if (yaesu && command == "MD0") {
        send(bytes_of(std::string("MD0") + mode_character + ";"));
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
    if (instruction == 0x03) {
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

void RotatorBox::answer(const Bytes& frame) {
    std::string command(frame.begin(), frame.end() - 1);
    std::erase(command, '\x02');
    m_commands.push_back(command);
    if (command == "A?") {
        report('R');
    } else if (command.starts_with("AG") && command.size() > 2) {
        send(bytes_of('\x02' + std::string("A,G,R\r")));
        m_target = std::clamp(std::atoi(command.c_str() + 2), 0, 360);
    }
}

// The box reports at its own pace: the next report once the last has gone out.
void RotatorBox::on_read() {
    if (m_target < 0 || !outgoing().empty()) {
        return;
    }
    if (std::abs(m_target - heading) <= 10) {
        heading = m_target;
        m_target = -1;
        report('R');
        return;
    }
    heading += m_target > heading ? 10 : -10;
    report('M');
}

void RotatorBox::report(char status) {
    send(bytes_of('\x02' + std::string("A,?,") + std::to_string(heading) + "," + status + '\r'));
}

}  // namespace vl::test
