// Serial ports for the transceiver (CAT) and the rotator box: one portable interface, a
// termios backend on POSIX systems, and scripted ports for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vl::platform {

struct SerialSettings {
    int speed = 9600;
    char parity = 'N';  // "N" is none; any other letter turns even parity on
    int data_bits = 8;
    int stop_bits = 1;
};

// An open port. Every call returns at once: reads take only what has already arrived and
// writes give up rather than wait for a full transmit queue.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    virtual bool configure(const SerialSettings& settings) = 0;
    virtual void set_rts(bool on) = 0;
    virtual void set_dtr(bool on) = 0;
    virtual std::size_t bytes_waiting() = 0;
    // Up to buffer.size() bytes that have arrived; 0 when none.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // The number of bytes the port took.
    virtual std::size_t write(std::span<const std::uint8_t> bytes) = 0;
};

// Opens ports by device path; tests give scripted ones.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    virtual std::unique_ptr<SerialPort> open(const std::string& device_path) = 0;
};

// The system's ports, through open_serial_port.
SerialPorts& system_serial_ports();

// Opens a device path in raw mode; nothing when the port is missing, busy or not
// available on this system.
std::unique_ptr<SerialPort> open_serial_port(const std::string& device_path);

// The device for a port setting. "COM" + n (or n alone) is the n-th entry of the port
// table ("n=/dev/..." lines), else /dev/ttyS{n-1}; a setting beginning with "/" names the
// device itself. Empty when the setting names no port.
std::string serial_device_path(std::string_view setting, std::string_view port_table);

}  // namespace vl::platform
