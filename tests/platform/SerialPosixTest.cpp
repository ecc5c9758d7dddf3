// The termios backend against a pseudo-terminal: raw bytes both ways, nothing ever waits.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/Serial.h"

namespace vl::platform {
namespace {

class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_slave = ::ptsname(m_master);
        }
    }
    ~PseudoTerminal() {
        if (m_master >= 0) {
            ::close(m_master);
        }
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slave() const { return m_slave; }
    void send(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::vector<std::uint8_t> take() {
        std::vector<std::uint8_t> bytes(256);
        const ssize_t got = ::read(m_master, bytes.data(), bytes.size());
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }

private:
    int m_master = -1;
    std::string m_slave;
};

// The kernel moves pty bytes asynchronously; give them a moment to land.
void settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(SerialPosix, RawBytesPassBothWaysUnchanged) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.slave().empty());
    auto port = open_serial_port(pty.slave());
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->configure({4800, 'N', 8, 2}));
    port->set_rts(true);
    port->set_dtr(false);

    // CR, LF, XOFF, DEL and 0xFF would be translated or eaten by a cooked terminal.
    const std::vector<std::uint8_t> reply{0x0D, 0x0A, 0x13, 0x7F, 0xFF, 0x03, 0x00};
    pty.send(reply);
    settle();
    EXPECT_EQ(port->bytes_waiting(), reply.size());
    std::array<std::uint8_t, 64> buffer{};
    ASSERT_EQ(port->read(buffer), reply.size());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 7), reply);

    const std::vector<std::uint8_t> query{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD, 0x0D};
    EXPECT_EQ(port->write(query), query.size());
    settle();
    EXPECT_EQ(pty.take(), query);
}

TEST(SerialPosix, NothingWaitingReturnsAtOnce) {
    PseudoTerminal pty;
    auto port = open_serial_port(pty.slave());
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->configure({9600, 'E', 7, 1}));
    std::array<std::uint8_t, 16> buffer{};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(port->bytes_waiting(), 0u);
    EXPECT_EQ(port->read(buffer), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(5));
}

TEST(SerialPosix, MissingDevicesAndOddSpeedsAreRefused) {
    EXPECT_FALSE(open_serial_port("/dev/ttyS-varrow-missing"));
    EXPECT_FALSE(open_serial_port(""));
    EXPECT_FALSE(open_serial_port("/dev/null"));  // not a terminal
    PseudoTerminal pty;
    auto port = open_serial_port(pty.slave());
    ASSERT_TRUE(port);
    EXPECT_FALSE(port->configure({12345, 'N', 8, 1}));
}

}  // namespace
}  // namespace vl::platform
