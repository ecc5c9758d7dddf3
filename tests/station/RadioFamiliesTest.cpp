// The shipped rig definitions against simulated radios of their families on pseudo-terminals:
// replies plain, split, noisy, and a radio that never answers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "station/RigControl.h"
#include "support/SimulatedDevices.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// What the screen would show after six polls: the last frequency and mode decoded.
RigReading follow(RigControl& rig) {
    RigReading shown;
    for (int i = 0; i < 6; ++i) {
        const RigReading reading = rig.poll();
        shown.frequency = reading.frequency.empty() ? shown.frequency : reading.frequency;
        shown.mode = reading.mode.empty() ? shown.mode : reading.mode;
    }
    return shown;
}

enum class Line { Plain, Split, Noisy, Silent };

TEST(RadioFamilies, EachShippedDefinitionFollowsItsRadio) {
    using Dialect = test::TextRadio::Dialect;
    const struct {
        const char* definition;
        std::function<std::unique_ptr<test::SimulatedRadio>()> make;
        int mode, turned_mode;  // the radio's own mode numbers
        const char *mode_name, *turned_mode_name;
        bool binary;  // no terminator: line noise cannot be told from a reply
        int speed, stop_bits;
    } kFamilies[] = {
        {"IC7300.RIG", [] { return std::make_unique<test::CivRadio>(0x94); }, 0x01, 0x03, "USB",
         "CW", false, 9600, 1},
        {"TS590.RIG", [] { return std::make_unique<test::TextRadio>(Dialect::Kenwood); }, 2, 3,
         "USB", "CW", false, 9600, 1},
        {"FT991.RIG", [] { return std::make_unique<test::TextRadio>(Dialect::YaesuNewcat); }, 2,
         0x0C, "USB", "DIG", false, 38400, 1},
        {"FT817.RIG", [] { return std::make_unique<test::FiveByteRadio>(false); }, 0x01, 0x0A,
         "USB", "DIG", true, 9600, 2},
        // Needs CAT on first; the narrow CW variant 82 is CW under the mask.
        {"FT847.RIG", [] { return std::make_unique<test::FiveByteRadio>(true); }, 0x01, 0x82, "USB",
         "CW", true, 57600, 2}};
    for (const auto& family : kFamilies) {
        for (const Line line : {Line::Plain, Line::Split, Line::Noisy, Line::Silent}) {
            if (line == Line::Noisy && family.binary) {
                continue;
            }
            SCOPED_TRACE(family.definition + std::to_string(static_cast<int>(line)));
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
            std::filesystem::copy_file(std::string(VARROW_DATA_DIR) + "/rigs/" + family.definition,
                                       dir.file(family.definition));
            const RigDefinition definition =
                find_rig_definition(platform::system_files(), dir.path()).value();
            RigControl rig;
            ASSERT_EQ(rig.set_up(definition, &ports, "1=" + device + "\n"), std::nullopt);
            const platform::SerialSettings& set = radio->line_settings;
            EXPECT_EQ(std::to_string(set.speed) + set.parity + std::to_string(set.data_bits) +
                          std::to_string(set.stop_bits),
                      std::to_string(family.speed) + "N8" + std::to_string(family.stop_bits));

            const auto before = std::chrono::steady_clock::now();
            RigReading shown = follow(rig);
            if (line == Line::Silent) {
                EXPECT_EQ(shown.frequency + shown.mode, "");
                // Six polls of a radio that never answers do not wait for it.
                EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(50));
                continue;
            }
            EXPECT_EQ(shown.frequency + " " + shown.mode,
                      std::string("14.0740 ") + family.mode_name);
            // The operator turns the dial and changes the mode.
            radio->hertz = 7012340;
            radio->mode = family.turned_mode;
            shown = follow(rig);
            EXPECT_EQ(shown.frequency + " " + shown.mode,
                      std::string("7.0123 ") + family.turned_mode_name);
        }
    }
}

TEST(RadioFamilies, APortThatWillNotOpenIsNamedAndNeverPolled) {
    test::TempDir dir;
    dir.write("IC7300.RIG", "7:9600,N,8,1\r\nFEFE94E003FD\r\n10,5,3\r\n6,255\r\n00\r\n1,2\r\n");
    const RigDefinition definition =
        find_rig_definition(platform::system_files(), dir.path()).value();
    RigControl rig;
    EXPECT_EQ(
        rig.set_up(definition, &platform::system_serial_ports(), "7=/dev/varrow-no-such-port\n"),
        "COM7");
    EXPECT_EQ(rig.poll().frequency, "");
    EXPECT_EQ(rig.set_up(definition, nullptr, ""), "COM7");
}

}  // namespace
}  // namespace vl
