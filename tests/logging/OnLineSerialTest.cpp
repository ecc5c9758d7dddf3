// On-line logging with a transceiver and a rotator box on pseudo-terminals, the program run
// whole from a key script. VARROW_BLESS=1 writes the kept journals anew.
#include <filesystem>

#include "support/OnLineScreen.h"
#include "support/SimulatedDevices.h"

namespace vl {
namespace {

class OnLineSerialTest : public test::OnLineScreenTest {
protected:
    // 40 m logs LSB; the rotator on port 2 of the port table.
    void SetUp() override { set_up_station("LSB", "2"); }

    test::SimulatedPorts ports;
};

// What the operator hears as the radio's dial turns and the antenna moves, and when the box
// stays silent: the whole journal from the screen's opening is kept/serial_NAME.journal.
TEST_F(OnLineSerialTest, TheScreenFollowsTheRadioAndTheRotator) {
    // The rotator's box starts on 290 degrees, its reports split and after noise; the silent
    // one never answers; the radio comes with a box that has nothing to say.
    const struct {
        std::string name;
        std::string keys;
        std::vector<std::string> commands;  // the box heard
    } cases[] = {
        // The box's heading is in the bearing box; a typed bearing turns the antenna, heard
        // moving with a beep every fifth report; 350 is refused.
        {"rotator",
         "tick 3\nkey Alt+B\ntype 220\nkey Enter\ntick 20\nkey Alt+W Alt+B\ntype 350\nkey Enter\n"
         "key Alt+W Alt+B\ntype 0\nkey Enter\nkey Alt+W\nkey Ctrl+Tab Ctrl+Tab\ntick 1\n",
         {"AM", "A?", "AG220", "AG0"}},
        // A box that never answers is given up after five silent seconds; its keys then beep.
        {"silent", "tick 50\nkey Alt+B\ntick 1\nanswer ok\ntype 100\nkey Enter\n", {"AM", "A?"}},
        // Last, as its rig file stays in the folder: the band and mode follow the radio, asked
        // once a second each; when the dial moves to another band the list shows it and the
        // new band is said once, and the list keeps the arrows.
        {"radio",
         "tick 21\nkey Alt+F\nkey Alt+M\nkey Alt+F\ntick 10\nkey Down\nkey Up\nkey Alt+M\ntick "
         "10\n",
         {"AM", "A?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TextRadio radio(test::TextRadio::Dialect::YaesuNewcat);
        radio.mode = 2;                           // USB
        radio.turn_dial_after(1, 7074000, 0x0C);  // the second answer: 40 m DATA-U
        test::RotatorBox box;
        if (c.name == "rotator") {
            box.heading = 290;
            box.split_replies = true;
            box.noise = {'\x7F', '\r'};
        }
        box.silent = c.name == "silent";
        const bool with_radio = c.name == "radio";
        // The radio on port 1 with the shipped FT991.RIG, the box on port 2.
        if (with_radio) {
            std::filesystem::copy_file(std::string(VARROW_DATA_DIR) + "/rigs/FT991.RIG",
                                       dir.file("FT991.RIG"));
        }
        dir.write("PORTS.TXT", (with_radio ? "1=" + ports.attach(radio) + "\n" : "") +
                                   "2=" + ports.attach(box) + "\n");
        test::expect_kept(run(c.keys, &ports), "logging/kept/serial_" + c.name + ".journal");
        EXPECT_EQ(box.commands(), c.commands);
    }
}

}  // namespace
}  // namespace vl
