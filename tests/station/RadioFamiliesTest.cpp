// The shipped rig definitions against simulated radios of their protocol families, and the
// rotator against a simulated box, each on a pseudo-terminal through the real serial
// backend: replies plain, split across reads and polls, and with line noise.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "antenna/Rotator.h"
#include "station/RigControl.h"
#include "support/SimulatedDevices.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::Bytes;

// A shipped definition, alone in a program folder as the operator would copy it.
RigDefinition shipped(const test::TempDir& dir, const std::string& name) {
    std::ifstream file(std::string(VARROW_DATA_DIR) + "/rigs/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    dir.write(name, text.str());
    return find_rig_definition(platform::system_files(), dir.path()).value_or(RigDefinition{});
}

// What the screen would show after some polls: the last frequency and mode decoded.
RigReading follow(RigControl& rig, int polls) {
    RigReading shown;
    for (int i = 0; i < polls; ++i) {
        const RigReading reading = rig.poll();
        if (!reading.frequency.empty()) {
            shown.frequency = reading.frequency;
        }
        if (!reading.mode.empty()) {
            shown.mode = reading.mode;
        }
    }
    return shown;
}

enum class Line { Plain, Split, Noisy, Silent };

struct Family {
    const char* definition;
    std::function<std::unique_ptr<test::SimulatedRadio>()> make;
    int mode, turned_mode;  // the radio's own mode numbers
    const char *mode_name, *turned_mode_name;
    bool binary;  // no terminator: line noise cannot be told from a reply
};

TEST(RadioFamilies, EachShippedDefinitionFollowsItsRadio) {
    using Dialect = test::TextRadio::Dialect;
    const Family families[] = {
        {"IC7300.RIG", [] { return std::make_unique<test::CivRadio>(0x94); }, 0x01, 0x03, "USB",
         "CW", false},
        {"TS590.RIG", [] { return std::make_unique<test::TextRadio>(Dialect::Kenwood); }, 2, 3,
         "USB", "CW", false},
        {"FT991.RIG", [] { return std::make_unique<test::TextRadio>(Dialect::YaesuNewcat); }, 2,
         0x0C, "USB", "DIG", false},
        {"FT817.RIG", [] { return std::make_unique<test::FiveByteRadio>(false); }, 0x01, 0x0A,
         "USB", "DIG", true},
        // The narrow CW variant 82 is CW under the mask.
        {"FT847.RIG", [] { return std::make_unique<test::FiveByteRadio>(true); }, 0x01, 0x82, "USB",
         "CW", true},
    };
    for (const Family& family : families) {
        for (const Line line : {Line::Plain, Line::Split, Line::Noisy, Line::Silent}) {
            if (line == Line::Noisy && family.binary) {
                continue;
            }
            SCOPED_TRACE(std::string(family.definition) + " line " +
                         std::to_string(static_cast<int>(line)));
            auto radio = family.make();
            radio->hertz = 14074000;
            radio->mode = family.mode;
            radio->split_replies = line == Line::Split;
            radio->silent = line == Line::Silent;
            if (line == Line::Noisy) {
                radio->noise = {0x11, 0xFF, 0x00};
                if (auto* civ = dynamic_cast<test::CivRadio*>(radio.get())) {
                    civ->echo = true;
                }
            }
            test::SimulatedPorts ports;
            const std::string device = ports.attach(*radio);
            test::TempDir dir;
            const RigDefinition definition = shipped(dir, family.definition);
            ASSERT_EQ(definition.name, family.definition);
            RigControl rig;
            ASSERT_EQ(rig.set_up(definition, &ports, "1=" + device + "\n"), std::nullopt);

            const auto before = std::chrono::steady_clock::now();
            RigReading shown = follow(rig, 6);
            if (line == Line::Silent) {
                EXPECT_EQ(shown.frequency, "");
                EXPECT_EQ(shown.mode, "");
                // Six polls of a radio that never answers do not wait for it.
                EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(50));
                continue;
            }
            EXPECT_EQ(shown.frequency, "14.0740");
            EXPECT_EQ(shown.mode, family.mode_name);
            // The operator turns the dial and changes the mode.
            radio->hertz = 7012340;
            radio->mode = family.turned_mode;
            shown = follow(rig, 6);
            EXPECT_EQ(shown.frequency, "7.0123");
            EXPECT_EQ(shown.mode, family.turned_mode_name);
        }
    }
}

std::string heading_after(Rotator& rotator, int polls, int* beeps = nullptr) {
    std::string heading;
    for (int i = 0; i < polls; ++i) {
        const RotatorEvents events = rotator.poll();
        if (events.heading) {
            heading = *events.heading;
        }
        if (beeps != nullptr && events.beep) {
            ++*beeps;
        }
    }
    return heading;
}

TEST(RotatorBox, HeadingsAndTurnsOverAPseudoTerminal) {
    for (const Line line : {Line::Plain, Line::Split, Line::Noisy}) {
        SCOPED_TRACE(static_cast<int>(line));
        test::RotatorBox box;
        box.heading = 290;
        box.split_replies = line == Line::Split;
        if (line == Line::Noisy) {
            box.noise = {'\x7F', 'Z', '\r', '\x02', 'A', ',', '?', '\r'};
        }
        test::SimulatedPorts ports;
        Rotator rotator;
        ASSERT_TRUE(rotator.open(&ports, ports.attach(box)));
        EXPECT_EQ(heading_after(rotator, 3), "290");
        EXPECT_EQ(box.commands(), (std::vector<std::string>{"AM", "A?"}));
        // From 290 to 120 in steps of 10: sixteen reports while turning, one at rest.
        rotator.turn("120");
        int beeps = 0;
        EXPECT_EQ(heading_after(rotator, 40, &beeps), "120");
        EXPECT_EQ(beeps, 3);
        EXPECT_EQ(box.commands().back(), "AG120");
        EXPECT_TRUE(rotator.is_open());
    }
}

TEST(RotatorBox, ASilentBoxIsGivenUpAfterFiveSeconds) {
    test::RotatorBox box;
    box.silent = true;
    test::SimulatedPorts ports;
    Rotator rotator;
    ASSERT_TRUE(rotator.open(&ports, ports.attach(box)));
    int reported_at = 0;
    for (int tick = 1; tick <= 60 && reported_at == 0; ++tick) {
        if (rotator.poll().no_response) {
            reported_at = tick;
        }
    }
    EXPECT_EQ(reported_at, 51);
    EXPECT_FALSE(rotator.is_open());
}

}  // namespace
}  // namespace vl
