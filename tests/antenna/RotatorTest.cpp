// The rotator box on a pseudo-terminal: reports split, doubled and noisy, the movement beep,
// the silent box, and the commands on the wire.
#include <gtest/gtest.h>

#include <string>

#include "antenna/Rotator.h"
#include "support/SimulatedLine.h"

namespace vl {
namespace {

// The box's end of a pseudo-terminal: one scripted chunk goes out on each read of the program
// ("" is a silent tick), and what the program sent is kept.
struct Wire final : test::SimulatedDevice {
    void hear(std::span<const std::uint8_t> bytes) override {
        sent.append(bytes.begin(), bytes.end());
    }
    void put(std::initializer_list<std::string> chunks) {
        for (const std::string& chunk : chunks) {
            outgoing().push_back({test::Bytes(chunk.begin(), chunk.end())});
        }
    }
    std::string sent;
};

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
    test::SimulatedPorts ports;
    const std::string box = ports.attach(wire);
    Rotator rotator;
    EXPECT_FALSE(rotator.open(&ports, "/dev/other"));
    rotator.turn("10");  // not open: nothing is sent
    ASSERT_TRUE(rotator.open(&ports, box));
    const std::string split = frame("A,?,290,R"), cut = frame("A,?").substr(0, 4);
    wire.put({split.substr(0, 6), split.substr(6),
              "\x7FZ\r" + frame("A,?,100,R") + frame("A,?,110,R") + cut});
    EXPECT_FALSE(rotator.poll().heading);
    EXPECT_EQ(wire.sent, frame("AM") + frame("A?"));
    EXPECT_EQ(rotator.poll().heading, "290");
    EXPECT_EQ(rotator.poll().heading, "110");
    rotator.turn("349");
    // The screen closed with "A,?" half received: the next opening's first report is whole.
    rotator.close();
    ASSERT_TRUE(rotator.open(&ports, box));
    wire.put({frame("A,?,5,R")});
    EXPECT_EQ(rotator.poll().heading, "5");
    EXPECT_EQ(wire.sent, frame("AM") + frame("A?") + frame("AG349") + frame("AM") + frame("A?"));
    // More than 256 bytes without an end of line are dropped, not kept in front of a report.
    wire.put({std::string(257, 'Z'), frame("A,?,6,R")});
    EXPECT_FALSE(rotator.poll().heading);
    EXPECT_EQ(rotator.poll().heading, "6");
}

// Every fifth report while the antenna moves beeps; once the box has answered, silence is no
// fault. A box silent from the start is given up at the 51st silent tick and closed: the
// serial_silent journal of OnLineSerialTest, whose box hears no command after it.
TEST(Rotator, BeepsWhileMovingAndOutlivesSilenceAfterAnAnswer) {
    Wire wire;
    test::SimulatedPorts ports;
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&ports, ports.attach(wire)));
    std::string beeps;
    for (int i = 0; i < 11; ++i) {
        wire.put({frame(i < 10 ? "A,?,10,M" : "A,?,10,R")});
        beeps += rotator.poll().beep ? 'B' : '.';
    }
    EXPECT_EQ(beeps, "....B....B.");
    for (int tick = 1; tick <= 100; ++tick) {
        ASSERT_FALSE(rotator.poll().no_response) << tick;
    }
    EXPECT_TRUE(rotator.is_open());
}

}  // namespace
}  // namespace vl
