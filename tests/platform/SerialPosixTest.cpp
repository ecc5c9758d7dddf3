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

using Bytes = std::vector<std::uint8_t>;

// The kernel moves pty bytes asynchronously; give them a moment to land.
void settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(SerialPosix, RawBytesPassBothWaysAndNothingWaits) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    auto port = open_serial_port(::ptsname(master));
    ASSERT_TRUE(port);
    EXPECT_FALSE(port->configure({12345, 'N', 8, 1}));
    ASSERT_TRUE(port->configure({9600, 'E', 7, 1}));
    ASSERT_TRUE(port->configure({4800, 'N', 8, 2}));
    port->set_rts(true);
    port->set_dtr(false);
    std::array<std::uint8_t, 64> buffer{};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(port->bytes_waiting() + port->read(buffer), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(5));

    // CR, LF, XOFF, DEL and 0xFF would be translated or eaten by a cooked terminal.
    const Bytes reply{0x0D, 0x0A, 0x13, 0x7F, 0xFF, 0x03, 0x00};
    ASSERT_EQ(::write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
    settle();
    EXPECT_EQ(port->bytes_waiting(), reply.size());
    ASSERT_EQ(port->read(buffer), reply.size());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 7), reply);

    const Bytes query{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD, 0x0D};
    EXPECT_EQ(port->write(query), query.size());
    settle();
    Bytes heard(256);
    heard.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(master, heard.data(), 256))));
    EXPECT_EQ(heard, query);
    port.reset();
    ::close(master);

    for (const char* missing : {"/dev/ttyS-varrow-missing", "", "/dev/null"}) {  // null: no tty
        EXPECT_FALSE(open_serial_port(missing)) << missing;
    }
}

}  // namespace
}  // namespace vl::platform
