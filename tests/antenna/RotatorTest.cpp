// The rotator box: report parsing, lines split and doubled across polls, the movement beep,
// the silent box, and the commands on the wire.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "antenna/Rotator.h"

namespace vl {
namespace {

// A port whose incoming bytes are scripted per poll and whose outgoing bytes are kept.
struct Wire {
    std::deque<std::string> incoming;  // one entry per read; "" is a silent tick
    std::string sent;
};

class ScriptedPort final : public platform::SerialPort {
public:
    explicit ScriptedPort(Wire& wire) : m_wire(wire) {}
    bool configure(const platform::SerialSettings&) override { return true; }
    void set_rts(bool) override {}
    void set_dtr(bool) override {}
    std::size_t bytes_waiting() override {
        return m_wire.incoming.empty() ? 0 : m_wire.incoming.front().size();
    }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        if (m_wire.incoming.empty()) {
            return 0;
        }
        const std::string chunk = m_wire.incoming.front();
        m_wire.incoming.pop_front();
        const std::size_t count = std::min(chunk.size(), buffer.size());
        std::copy_n(chunk.begin(), count, buffer.begin());
        return count;
    }
    std::size_t write(std::span<const std::uint8_t> bytes) override {
        m_wire.sent.append(bytes.begin(), bytes.end());
        return bytes.size();
    }

private:
    Wire& m_wire;
};

class ScriptedPorts final : public platform::SerialPorts {
public:
    explicit ScriptedPorts(Wire& wire) : m_wire(wire) {}
    std::unique_ptr<platform::SerialPort> open(const std::string& path) override {
        if (path != "/dev/cbox") {
            return nullptr;
        }
        return std::make_unique<ScriptedPort>(m_wire);
    }

private:
    Wire& m_wire;
};

TEST(RotatorReports, HeadingAndStatus) {
    struct Row {
        const char* line;
        const char* heading;  // nullptr: not a position report
        bool at_rest;
    } rows[] = {
        {"A,?,290,R", "290", true},      {"A,?,5,R", "5", true},    {"A,?,45,M", "45", false},
        {"A,?,290,", "290", false},      {"A,G,R", nullptr, false}, {"A,?,", nullptr, false},
        {"A,?,2\x90,R", nullptr, false}, {"", nullptr, false},
    };
    for (const Row& row : rows) {
        const auto report = parse_rotator_report(row.line);
        ASSERT_EQ(report.has_value(), row.heading != nullptr) << row.line;
        if (report) {
            EXPECT_EQ(report->heading, row.heading) << row.line;
            EXPECT_EQ(report->at_rest, row.at_rest) << row.line;
        }
    }
}

TEST(Rotator, OpensWithItsCommandsAndFollowsSplitAndDoubledReports) {
    Wire wire;
    ScriptedPorts ports(wire);
    Rotator rotator;
    EXPECT_FALSE(rotator.open(&ports, "/dev/other"));
    ASSERT_TRUE(rotator.open(&ports, "/dev/cbox"));
    EXPECT_EQ(wire.sent,
              "\x02"
              "AM\r\x02"
              "A?\r");
    wire.incoming = {
        "\x02"
        "A,?,2",
        "90,R\r",
        "\x02"
        "A,?,100,R\r\x02"
        "A,?,110,R\r\x02"
        "A,?"};
    EXPECT_FALSE(rotator.poll().heading);
    EXPECT_EQ(rotator.poll().heading, "290");
    EXPECT_EQ(rotator.poll().heading, "110");
    rotator.turn("349");
    EXPECT_EQ(wire.sent.substr(wire.sent.size() - 7),
              "\x02"
              "AG349\r");
    // The screen closed with "A,?" half received: the next opening's first report is whole.
    rotator.close();
    ASSERT_TRUE(rotator.open(&ports, "/dev/cbox"));
    wire.incoming = {
        "\x02"
        "A,?,5,R\r"};
    EXPECT_EQ(rotator.poll().heading, "5");
}

TEST(Rotator, BeepsOnEveryFifthReportWhileMoving) {
    Wire wire;
    ScriptedPorts ports(wire);
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&ports, "/dev/cbox"));
    std::string beeps;
    for (int i = 0; i < 10; ++i) {
        wire.incoming.push_back(
            "\x02"
            "A,?,10,M\r");
        beeps += rotator.poll().beep ? 'B' : '.';
    }
    wire.incoming.push_back(
        "\x02"
        "A,?,10,R\r");
    beeps += rotator.poll().beep ? 'B' : '.';
    EXPECT_EQ(beeps, "....B....B.");
}

TEST(Rotator, ASilentBoxIsReportedAfterFiveSecondsAndClosed) {
    Wire wire;
    ScriptedPorts ports(wire);
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&ports, "/dev/cbox"));
    int reported_at = -1;
    for (int tick = 1; tick <= 60; ++tick) {
        if (rotator.poll().no_response) {
            reported_at = tick;
        }
    }
    EXPECT_EQ(reported_at, 51);
    EXPECT_FALSE(rotator.is_open());
}

TEST(Rotator, SilenceAfterTheFirstReplyIsNotReported) {
    Wire wire;
    ScriptedPorts ports(wire);
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&ports, "/dev/cbox"));
    wire.incoming.push_back(
        "\x02"
        "A,?,0,R\r");
    bool reported = false;
    for (int tick = 0; tick < 100; ++tick) {
        reported = reported || rotator.poll().no_response;
    }
    EXPECT_FALSE(reported);
    EXPECT_TRUE(rotator.is_open());
}

}  // namespace
}  // namespace vl
