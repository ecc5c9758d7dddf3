// Serial ports through termios: raw mode, no flow control, non-blocking reads and writes.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/Serial.h"

namespace vl::platform {
namespace {

speed_t speed_constant(int speed) {
    switch (speed) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : m_fd(fd) {}
    ~PosixSerialPort() override { ::close(m_fd); }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool configure(const SerialSettings& settings) override {
        termios options{};
        if (::tcgetattr(m_fd, &options) != 0) {
            return false;
        }
        // Raw: no echo, no line editing, no CR or NL translation, so 0x0D inside BCD data
        // arrives as sent.
        ::cfmakeraw(&options);
        options.c_cflag |= CLOCAL | CREAD;
        options.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
        switch (settings.data_bits) {
            case 5:
                options.c_cflag |= CS5;
                break;
            case 6:
                options.c_cflag |= CS6;
                break;
            case 7:
                options.c_cflag |= CS7;
                break;
            default:
                options.c_cflag |= CS8;
                break;
        }
        if (settings.stop_bits == 2) {
            options.c_cflag |= CSTOPB;
        }
        if (settings.parity != 'N' && settings.parity != 'n') {
            options.c_cflag |= PARENB;
        }
        options.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        options.c_cc[VMIN] = 0;
        options.c_cc[VTIME] = 0;
        const speed_t speed = speed_constant(settings.speed);
        if (speed == B0) {
            return false;
        }
        ::cfsetispeed(&options, speed);
        ::cfsetospeed(&options, speed);
        return ::tcsetattr(m_fd, TCSANOW, &options) == 0;
    }

    // A pseudo-terminal has no modem lines; the request then quietly does nothing.
    void set_rts(bool on) override { set_line(TIOCM_RTS, on); }
    void set_dtr(bool on) override { set_line(TIOCM_DTR, on); }

    std::size_t bytes_waiting() override {
        int count = 0;
        if (::ioctl(m_fd, FIONREAD, &count) != 0 || count < 0) {
            return 0;
        }
        return static_cast<std::size_t>(count);
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        if (buffer.empty()) {
            return 0;
        }
        ssize_t got = -1;
        do {
            got = ::read(m_fd, buffer.data(), buffer.size());
        } while (got < 0 && errno == EINTR);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t done = ::write(m_fd, bytes.data() + sent, bytes.size() - sent);
            if (done < 0 && errno == EINTR) {
                continue;
            }
            if (done <= 0) {
                break;  // a full queue (EAGAIN) or a lost device: never wait
            }
            sent += static_cast<std::size_t>(done);
        }
        return sent;
    }

private:
    void set_line(int line, bool on) { ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line); }

    int m_fd;
};

}  // namespace

std::unique_ptr<SerialPort> open_serial_port(const std::string& device_path) {
    if (device_path.empty()) {
        return nullptr;
    }
    const int fd = ::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return nullptr;
    }
    // Another program holding the port is "in use": ask for it alone.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixSerialPort>(fd);
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
