// Serial ports through the Windows communications functions: the device control block,
// RTS and DTR by escape functions, bytes waiting from the port's status, and reads that
// return at once with what has arrived.
#include <windows.h>

#include <charconv>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Serial.h"

namespace vl::platform {
namespace {

bool is_known_speed(int speed) {
    for (const int known : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
        if (speed == known) {
            return true;
        }
    }
    return false;
}

// The port number at the end of `text` after `prefix`, or 0.
int number_after(std::string_view text, std::string_view prefix, int offset) {
    if (text.size() <= prefix.size() || text.substr(0, prefix.size()) != prefix) {
        return 0;
    }
    int number = -1;
    const char* first = text.data() + prefix.size();
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc{} || end != last || number + offset < 1) {
        return 0;
    }
    return number + offset;
}

// The classic port names are COM ports here: /dev/ttyS0 is COM1, as in the port table's
// default; "COM7" and "\\.\COM7" name a port directly.
std::string windows_device(std::string_view path) {
    if (path.substr(0, 4) == "\\\\.\\") {
        return std::string(path);
    }
    int number = number_after(path, "/dev/ttyS", 1);
    if (number == 0) {
        number = number_after(path, "COM", 0);
    }
    if (number == 0) {
        number = number_after(path, "com", 0);
    }
    return number == 0 ? std::string() : "\\\\.\\COM" + std::to_string(number);
}

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : m_handle(handle) {}
    ~Win32SerialPort() override { CloseHandle(m_handle); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool configure(const SerialSettings& settings) override {
        if (!is_known_speed(settings.speed)) {
            return false;
        }
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(m_handle, &dcb)) {
            return false;
        }
        // Binary, no flow control of either kind, no character replaced or dropped.
        dcb.BaudRate = static_cast<DWORD>(settings.speed);
        dcb.ByteSize = static_cast<BYTE>(
            settings.data_bits >= 5 && settings.data_bits <= 8 ? settings.data_bits : 8);
        const bool parity = settings.parity != 'N' && settings.parity != 'n';
        dcb.fParity = parity ? TRUE : FALSE;
        dcb.Parity = parity ? EVENPARITY : NOPARITY;
        dcb.StopBits = settings.stop_bits == 2 ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        if (!SetCommState(m_handle, &dcb)) {
            return false;
        }
        // A read takes what has arrived and returns; a write gives up rather than wait long.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = 0;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = 20;
        return SetCommTimeouts(m_handle, &timeouts) != FALSE;
    }

    void set_rts(bool on) override { EscapeCommFunction(m_handle, on ? SETRTS : CLRRTS); }
    void set_dtr(bool on) override { EscapeCommFunction(m_handle, on ? SETDTR : CLRDTR); }

    std::size_t bytes_waiting() override {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(m_handle, &errors, &status)) {
            return 0;
        }
        return status.cbInQue;
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(buffer.size() > 65536 ? 65536 : buffer.size());
        if (wanted == 0 || !ReadFile(m_handle, buffer.data(), wanted, &got, nullptr)) {
            return 0;
        }
        return got;
    }

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        DWORD sent = 0;
        const DWORD size = static_cast<DWORD>(bytes.size() > 65536 ? 65536 : bytes.size());
        if (size == 0 || !WriteFile(m_handle, bytes.data(), size, &sent, nullptr)) {
            return 0;
        }
        return sent;
    }

private:
    HANDLE m_handle;
};

}  // namespace

std::unique_ptr<SerialPort> open_serial_port(const std::string& device_path) {
    const std::string device = windows_device(device_path);
    if (device.empty()) {
        return nullptr;
    }
    // No sharing: a port another program holds is "in use".
    HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Only a communications device has a control block: a file of that name is no port.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        CloseHandle(handle);
        return nullptr;
    }
    SetupComm(handle, 1024, 1024);
    return std::make_unique<Win32SerialPort>(handle);
}

SerialPorts& system_serial_ports() {
    struct SystemPorts final : SerialPorts {
        std::unique_ptr<SerialPort> open(const std::string& device_path) override {
            return open_serial_port(device_path);
        }
    };
    static SystemPorts ports;
    return ports;
}

}  // namespace vl::platform
