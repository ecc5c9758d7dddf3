// The rotator box: report parsing, lines split, doubled and noisy across polls, the movement
// beep, the silent box, and the commands on the wire.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "antenna/Rotator.h"

namespace vl {
namespace {

// The box's end of the line: incoming bytes scripted per read ("" is a silent tick), outgoing
// bytes kept. Only /dev/cbox opens.
struct Wire final : platform::SerialPorts {
    std::deque<std::string> incoming;
    std::string sent;
    std::unique_ptr<platform::SerialPort> open(const std::string& path) override;
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

std::unique_ptr<platform::SerialPort> Wire::open(const std::string& path) {
    return path == "/dev/cbox" ? std::make_unique<ScriptedPort>(*this) : nullptr;
}

TEST(Rotator, ReportsGiveTheHeadingAndWhetherTheAntennaRests) {
    const struct {
        const char* line;
        const char* heading;  // nullptr: not a position report
        bool at_rest;
    } kRows[] = {{"A,?,290,R", "290", true},      {"A,?,5,R", "5", true},
                 {"A,?,45,M", "45", false},       {"A,?,290,", "290", false},
                 {"A,G,R", nullptr, false},       {"A,?,", nullptr, false},
                 {"A,?,2\x90,R", nullptr, false}, {"", nullptr, false}};
    for (const auto& row : kRows) {
        const auto report = parse_rotator_report(row.line);
        ASSERT_EQ(report.has_value(), row.heading != nullptr) << row.line;
        EXPECT_EQ(report ? report->heading + (report->at_rest ? " R" : "") : "",
                  row.heading ? std::string(row.heading) + (row.at_rest ? " R" : "") : "");
    }
}

// A frame of the box's line: STX, the text, CR.
std::string frame(const std::string& text) {
    return '\x02' + text + '\r';
}

TEST(Rotator, OpensWithItsCommandsAndFollowsSplitDoubledAndNoisyReports) {
    Wire wire;
    Rotator rotator;
    EXPECT_FALSE(rotator.open(&wire, "/dev/other"));
    rotator.turn("10");  // not open: nothing is sent
    ASSERT_TRUE(rotator.open(&wire, "/dev/cbox"));
    EXPECT_EQ(wire.sent, frame("AM") + frame("A?"));
    const std::string split = frame("A,?,290,R"), cut = frame("A,?").substr(0, 4);
    wire.incoming = {split.substr(0, 6), split.substr(6),
                     "\x7FZ\r" + frame("A,?,100,R") + frame("A,?,110,R") + cut};
    EXPECT_FALSE(rotator.poll().heading);
    EXPECT_EQ(rotator.poll().heading, "290");
    EXPECT_EQ(rotator.poll().heading, "110");
    rotator.turn("349");
    EXPECT_EQ(wire.sent.substr(wire.sent.size() - 7), frame("AG349"));
    // The screen closed with "A,?" half received: the next opening's first report is whole.
    rotator.close();
    ASSERT_TRUE(rotator.open(&wire, "/dev/cbox"));
    wire.incoming = {frame("A,?,5,R")};
    EXPECT_EQ(rotator.poll().heading, "5");
    // More than 256 bytes without an end of line are dropped, not kept in front of a report.
    wire.incoming = {std::string(257, 'Z'), frame("A,?,6,R")};
    EXPECT_FALSE(rotator.poll().heading);
    EXPECT_EQ(rotator.poll().heading, "6");
}

TEST(Rotator, BeepsOnEveryFifthReportWhileMoving) {
    Wire wire;
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&wire, "/dev/cbox"));
    std::string beeps;
    for (int i = 0; i < 11; ++i) {
        wire.incoming.push_back(frame(i < 10 ? "A,?,10,M" : "A,?,10,R"));
        beeps += rotator.poll().beep ? 'B' : '.';
    }
    EXPECT_EQ(beeps, "....B....B.");
}

// Five seconds of silence before the first reply close the port; after it, silence is no fault.
TEST(Rotator, ASilentBoxIsReportedAfterFiveSecondsAndClosed) {
    for (bool answered : {false, true}) {
        Wire wire;
        Rotator rotator;
        ASSERT_TRUE(rotator.open(&wire, "/dev/cbox"));
        if (answered) {
            wire.incoming.push_back(frame("A,?,0,R"));
        }
        int reported_at = -1;
        for (int tick = 1; tick <= 100; ++tick) {
            if (rotator.poll().no_response && reported_at < 0) {
                reported_at = tick;
            }
        }
        EXPECT_EQ(reported_at, answered ? -1 : 51);
        EXPECT_EQ(rotator.is_open(), answered);
    }
}

}  // namespace
}  // namespace vl
