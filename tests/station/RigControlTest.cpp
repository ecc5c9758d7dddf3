// The rig's port end to end: a simulated transceiver on a pseudo-terminal answers the queries
// the poll sends, as the radio would, with split replies and line noise.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "station/RigControl.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The far end of the cable: reads what the program sent, answers with scripted bytes.
class Radio {
public:
    Radio() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_device = ::ptsname(m_master);
        }
    }
    ~Radio() {
        if (m_master >= 0) {
            ::close(m_master);
        }
    }
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;

    std::string port_table() const { return "1=" + m_device + "\n"; }
    Bytes heard() {
        settle();
        Bytes bytes(512);
        const ssize_t got = ::read(m_master, bytes.data(), bytes.size());
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }
    void say(const Bytes& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
        settle();
    }
    void say(const std::string& text) { say(Bytes(text.begin(), text.end())); }

private:
    static void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }
    int m_master = -1;
    std::string m_device;
};

RigDefinition definition(const std::string& name, const std::string& text) {
    RigDefinition rig;
    rig.name = name;
    std::size_t begin = 0;
    for (std::string& line : rig.lines) {
        const std::size_t end = text.find('\n', begin);
        line = text.substr(begin, end - begin);
        begin = end == std::string::npos ? text.size() : end + 1;
    }
    rig.port = rig.lines[0].substr(0, rig.lines[0].find(':'));
    rig.speed = std::atoi(rig.lines[0].c_str() + rig.lines[0].find(':') + 1);
    return rig;
}

TEST(RigControl, FiveByteYaesuFollowsTheRadioAfterCatOn) {
    Radio radio;
    RigControl rig;
    ASSERT_EQ(rig.set_up(definition("FT847.RIG",
                                    "1:4800,N,8,2\n0000000003\n1,4,4\n5,15,LSB,USB,CW\n00\n1,2"),
                         &platform::system_serial_ports(), radio.port_table()),
              std::nullopt);
    EXPECT_EQ(radio.heard(), (Bytes{0, 0, 0, 0, 0}));  // CAT on
    EXPECT_EQ(rig.poll().frequency, "");
    EXPECT_EQ(radio.heard(), (Bytes{0, 0, 0, 0, 3}));
    radio.say(Bytes{0x01, 0x42});  // half the reply before the next poll
    EXPECT_EQ(rig.poll().frequency, "");
    radio.say(Bytes{0x50, 0x00, 0x82});
    const RigReading reading = rig.poll();
    EXPECT_EQ(reading.frequency, "14.2500");
    EXPECT_EQ(reading.mode, "CW");
}

TEST(RigControl, TextRadioIsAskedForFrequencyThenMode) {
    Radio radio;
    RigControl rig;
    ASSERT_EQ(rig.set_up(definition("FT991.RIG",
                                    "1:38400,N,8,1\n46413B\n3,9,1\n0,15,,LSB,USB,CW\n00\n1,2"),
                         &platform::system_serial_ports(), radio.port_table()),
              std::nullopt);
    rig.poll();
    EXPECT_EQ(radio.heard(), Bytes({'F', 'A', ';'}));
    radio.say(
        "\x11"
        "FA007074000;");  // a noise byte first
    EXPECT_EQ(rig.poll().frequency, "7.0740");
    EXPECT_EQ(radio.heard(), Bytes({'M', 'D', '0', ';'}));
    radio.say("MD02;");
    EXPECT_EQ(rig.poll().mode, "USB");
    EXPECT_EQ(radio.heard(), Bytes({'F', 'A', ';'}));
}

TEST(RigControl, APortThatWillNotOpenIsNamedAndNeverPolled) {
    RigControl rig;
    EXPECT_EQ(rig.set_up(definition("IC7300.RIG", "7:9600,N,8,1\nFEFE94E003FD\n10,5,3\n6,255"),
                         &platform::system_serial_ports(), "7=/dev/varrow-no-such-port\n"),
              "COM7");
    EXPECT_EQ(rig.poll().frequency, "");
    EXPECT_EQ(rig.set_up(definition("IC7300.RIG", "7:9600,N,8,1\nFEFE94E003FD\n10,5,3\n6,255"),
                         nullptr, ""),
              "COM7");
}

// The whole program: on-line logging opens on 40 m from the station data, and the band, the
// frequency list and the mode box follow what the radio answers.
TEST(RigControl, OnLineLoggingFollowsTheRadio) {
    Radio radio;
    test::TempDir dir;
    std::string station;
    for (int band = 0; band < 13; ++band) {
        station += band == 2 ? "FT1,400,Dipole,Op,LSB\r\n" : ",,,,\r\n";
    }
    dir.write("RIG.LST", station + "0\r\n");
    dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\n");
    std::string settings;
    for (int line = 0; line < 10; ++line) {
        settings += "\r\n";  // no databases
    }
    dir.write("DBNAMES.TXT", settings + "52\r\n-1\r\n");
    dir.write("FT817.RIG",
              "1:9600,N,8,2\r\n0000000003\r\n1,4,4\r\n5,15,LSB,USB,CW\r\n00\r\n1,2\r\n");
    dir.write(std::string(kPortTableFile), radio.port_table());
    radio.say(Bytes{0x01, 0x42, 0x50, 0x00, 0x01});  // waiting when the first poll comes
    const test::HeadlessRun result = test::run_program_headless(
        dir.path(),
        test::open_menu_entry(2) +
            "tick 1\nkey Alt+F\nkey Alt+M\nkey Escape\nanswer yes\nkey Escape\n",
        test::TestPrinter::Ready, nullptr, &platform::system_serial_ports());
    const std::vector<std::string> journal =
        test::lines_from(result.journal, "window \"On Line Logging\"");
    auto has = [&](const std::string& line) {
        return std::find(journal.begin(), journal.end(), line) != journal.end();
    };
    EXPECT_TRUE(has("focus dropdown \"Frequency \" \"14.2500\""))
        << ::testing::PrintToString(journal);
    EXPECT_TRUE(has("focus edit \"Mode\" \"USB\"")) << ::testing::PrintToString(journal);
}

}  // namespace
}  // namespace vl
