// On-line logging with the transceiver and rotator served by Hamlib's daemons: the real
// rigctld and rotctld (dummy radio and rotator) on loopback ports of their own, and a scripted
// stand-in for what the real ones never do. The program runs whole from a key script whose
// waits pass in real time.
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "support/LocalDaemons.h"
#include "support/OnLineScreen.h"
#include "support/SimulatedDevices.h"

namespace vl {
namespace {

class OnLineHamlibTest : public test::OnLineScreenTest {
protected:
    // 20 m logs the sideband, 40 m logs SSB and 10 m a data mode.
    void SetUp() override { set_up_station("SSB"); }
};

// Lines naming Hamlib: its trouble, said on the screen.
long trouble_said(const std::vector<std::string>& journal) {
    return std::count_if(journal.begin(), journal.end(), [](const std::string& line) {
        return line.find("Hamlib") != std::string::npos;
    });
}

// The tests of Hamlib's own daemons, passed over where Hamlib is not installed.
class OnLineHamlibDaemonsTest : public OnLineHamlibTest {
protected:
    void SetUp() override {
        if (std::system("rigctld --version >/dev/null 2>&1") != 0 ||
            std::system("rotctld --version >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "Hamlib's daemons are not installed";
        }
        OnLineHamlibTest::SetUp();
    }
};

// Answers "f" and "m" as rigctld does, with the frequency and mode the connection is given:
// the first `errors` frequency questions and the mode questions after them with an error,
// and the connection closed at frequency question `hang_up_at` when that is not 0.
void answer_as_rig(test::PeerLine& line, const std::string& hertz, const std::string& mode,
                   int errors = 0, int hang_up_at = 0) {
    int asked = 0;
    while (auto command = line.read_line()) {
        if (*command == "f" && ++asked == hang_up_at) {
            return;
        }
        if (*command == "f") {
            line.send(asked <= errors ? "RPRT -5\n" : hertz + "\n");
        } else if (*command == "m") {
            line.send(asked <= errors ? "RPRT -5\n" : mode + "\n2400\n");
        }
    }
}

// The dummy radio starts on 40 m; through rigctl, as an operator's other program would, it
// goes to 20 m on the third time the program asks, and to its data mode on the sixth. The
// band change is said once each time, a mode change within the band is not (the focused mode
// box shows it), and F8 and Control+F say what the radio reported.
TEST_F(OnLineHamlibDaemonsTest, TheScreenFollowsRigctld) {
    const int rig_port = test::free_port();
    test::ChildProcess rigctld(
        {"rigctld", "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(rig_port)});
    ASSERT_TRUE(test::wait_for_listener(rig_port));
    ASSERT_EQ(test::ask(rig_port, "F 7074000\nM LSB 2400\n"), "RPRT 0\nRPRT 0\n");
    // Between the program and the daemon, counting the program's questions.
    const std::string rigctl = "rigctl -m 2 -r 127.0.0.1:" + std::to_string(rig_port);
    test::FakeDaemon relay(0, [&](test::PeerLine& program, int) {
        test::PeerLine daemon = test::PeerLine::to(rig_port);
        int asked = 0;
        while (auto command = program.read_line()) {
            if (*command == "f" && ++asked == 3) {
                EXPECT_EQ(std::system((rigctl + " F 14074000 M USB 2400").c_str()), 0);
            }
            if (*command == "f" && asked == 6) {
                EXPECT_EQ(std::system((rigctl + " M PKTUSB 3000").c_str()), 0);
            }
            daemon.send(*command + "\n");
            // "f" has one line of answer, "m" two.
            for (int lines = *command == "m" ? 2 : 1; lines > 0; --lines) {
                program.send(daemon.read_line().value_or("") + "\n");
            }
        }
    });
    dir.write("HAMLIB.TXT", "rig=127.0.0.1:" + std::to_string(relay.port()) + "\r\n");
    const Lines journal = run("wait 15\nkey F8\nkey Alt+M\nwait 30\nkey Ctrl+F\nwait 30\nkey F8\n");
    expect_in_order(journal, {"static \"Forty metres.\"", "static \"7.074 megahertz, LSB.\"",
                              "focus edit \"Mode\" \"SSB\"", "static \"Twenty metres.\"",
                              "text \"USB\"", "static \"14.074 megahertz, USB.\"", "text \"PKT\"",
                              "static \"14.074 megahertz, PKTUSB.\""});
    EXPECT_EQ(count(journal, "static \"Twenty metres.\""), 1);
    EXPECT_EQ(trouble_said(journal), 0);
}

// What the real daemon will not do, each said once, and the program reconnecting after it.
TEST_F(OnLineHamlibTest, TroubleWithTheDaemonIsSaidOnceAndOutlived) {
    const std::string unreadable = "gave an answer that could not be read.";
    const struct {
        const char* name;
        std::string first_answer;  // to the first question of the first connection, then nothing
        std::string hertz;         // as the connections after it give it
        int errors;                // of every connection, answered with an error
        std::string trouble;       // the sentence's end, after "... port N "
        const char* wait;          // enough for the trouble, a new connection and its answers
    } cases[] = {
        {"unreadable", "banana\n", "14074000", 0, unreadable, "wait 50\n"},
        {"too long a line", std::string(300, '1'), "14074000", 0, unreadable, "wait 50\n"},
        {"silent", "", "14074000.000000", 0, "does not answer.", "wait 90\n"},
        {"error from the radio", "", "14074000", 2, "could not read the radio.", "wait 50\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeDaemon daemon(0, [&c](test::PeerLine& line, int connection) {
            if (connection > 0 || c.errors > 0) {
                return answer_as_rig(line, c.hertz, "USB", c.errors);
            }
            line.read_line();
            line.send(c.first_answer);
            while (line.read_line(8)) {
            }
        });
        dir.write("HAMLIB.TXT", "rig=127.0.0.1:" + std::to_string(daemon.port()) + "\n");
        const Lines journal = run(std::string(c.wait) + "key F8\n");
        const std::string trouble = "static \"Hamlib rig control at 127.0.0.1 port " +
                                    std::to_string(daemon.port()) + " " + c.trouble + "\"";
        expect_in_order(
            journal, {trouble, "static \"Twenty metres.\"", "static \"14.074 megahertz, USB.\""});
        EXPECT_EQ(count(journal, trouble), 1);
    }
}

// A daemon that is not running is said once, and followed once it comes; one that goes away
// is said again.
TEST_F(OnLineHamlibTest, ADaemonThatComesAndGoes) {
    const int port = test::free_port();
    dir.write("HAMLIB.TXT", "rig=localhost:" + std::to_string(port) + "\n");
    std::thread operator_starts_it([port] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        std::atomic<bool> gone{false};
        test::FakeDaemon daemon(port, [&gone](test::PeerLine& line, int) {
            answer_as_rig(line, "7074000", "LSB", 0, 3);
            gone = true;
        });
        while (!gone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const Lines journal = run("wait 80\nkey F8\n");
    operator_starts_it.join();
    const std::string missing = "static \"Hamlib rig control at localhost port " +
                                std::to_string(port) + " not available.\"";
    expect_in_order(journal, {missing, "static \"Forty metres.\"", missing, "beep default",
                              "static \"The radio has not been heard.\""});
    EXPECT_EQ(count(journal, missing), 2);
}

// The dummy rotator turned from the Bearing box: the box follows the antenna, a beep on every
// fifth report while it moves, and the daemon ends where it was sent.
TEST_F(OnLineHamlibDaemonsTest, TheBearingTurnsRotctld) {
    const int port = test::free_port();
    test::ChildProcess rotctld(
        {"rotctld", "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(port)});
    ASSERT_TRUE(test::wait_for_listener(port));
    dir.write("HAMLIB.TXT", "rotator=127.0.0.1:" + std::to_string(port) + "\n");
    const Lines journal =
        run("wait 5\nkey Alt+B\ntype 12\nkey Enter\nwait 40\nkey Alt+W Alt+B\n"
            "type 360\nkey Enter\n");
    expect_in_order(journal, {"focus edit \"Bearing\" \"0\"", "text \"12\"", "text \"1\"",
                              "beep default", "text \"12\"", "focus edit \"Power\" \"\"",
                              "focus edit \"Bearing\" \"12\"", "text \"360\"", "beep default"});
    EXPECT_EQ(test::ask(port, "p\n").substr(0, 5), "12.00");
}

// An antenna reported one degree further at each ask: the bearing box shows each heading, and
// a beep sounds on every fifth report of a new one.
TEST_F(OnLineHamlibTest, AMovingAntennaBeepsOnEveryFifthNewHeading) {
    std::atomic<int> heading{100};
    test::FakeDaemon daemon(0, [&heading](test::PeerLine& line, int) {
        while (auto command = line.read_line()) {
            if (*command == "p") {
                line.send(std::to_string(heading++) + ".000000\n0.000000\n");
            }
        }
    });
    dir.write("HAMLIB.TXT", "rotator=127.0.0.1:" + std::to_string(daemon.port()) + "\n");
    int beeps = 0, headings = 0;
    for (const std::string& line : run("key Alt+B\nwait 40\n")) {
        if (line.starts_with("text \"1")) {
            ++headings;
        } else if (line == "beep default") {
            EXPECT_TRUE(beeps++ == 0 || headings == 5) << headings << " headings before a beep";
            headings = 0;
        }
    }
    EXPECT_GE(beeps, 2);
}

// Alt+1 and Alt+2 send the short and long path of the beam heading shown to rotctld, as
// "P az el"; here a stand-in daemon keeps what it was told.
TEST_F(OnLineHamlibTest, AltOneAndAltTwoTurnToTheBeamsPaths) {
    std::vector<std::string> turns;
    std::mutex heard;
    test::FakeDaemon daemon(0, [&](test::PeerLine& line, int) {
        while (auto command = line.read_line()) {
            if (*command == "p") {
                line.send("290.000000\n0.000000\n");
            } else if (command->starts_with("P ")) {
                const std::lock_guard<std::mutex> lock(heard);
                turns.push_back(*command);
                line.send("RPRT 0\n");
            }
        }
    });
    dir.write("HAMLIB.TXT", "rotator=127.0.0.1:" + std::to_string(daemon.port()) + "\n");
    const Lines journal =
        run("wait 5\nkey Shift+Tab\ntype JA1ABC\nkey Enter\nkey Alt+1\nkey Alt+2\nwait 5\n");
    const auto beam = std::find_if(journal.begin(), journal.end(), [](const std::string& line) {
        return line.find("Beam 0") != std::string::npos;
    });
    ASSERT_NE(beam, journal.end());
    const int short_path = std::stoi(beam->substr(beam->find("Beam ") + 5, 3));
    const std::lock_guard<std::mutex> lock(heard);
    EXPECT_EQ(turns,
              (std::vector<std::string>{"P " + std::to_string(short_path) + " 0",
                                        "P " + std::to_string((short_path + 180) % 360) + " 0"}));
}

// A model in HAMLIB.TXT: the program starts rigctld itself on the loopback address, follows
// the dummy radio (145 MHz FM) through it, and ends it at exit.
TEST_F(OnLineHamlibDaemonsTest, TheProgramStartsAndEndsRigctld) {
    const int port = test::free_port();
    dir.write("HAMLIB.TXT", "rig=:" + std::to_string(port) + "\nrig model=1\n");
    const Lines journal = run("wait 30\nkey F8\n");
    expect_in_order(journal, {"static \"Two metres.\"", "static \"145 megahertz, FM.\""});
    // The daemon is given time to begin listening: no "not available" as the screen opens.
    EXPECT_EQ(trouble_said(journal), 0);
    EXPECT_FALSE(test::PeerLine::to(port).connected()) << "rigctld was left running";
}

// Without Hamlib on the PATH, the choice says so once at start-up; the log runs on.
TEST_F(OnLineHamlibTest, AModelWithoutHamlibInstalledIsSaid) {
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.path().c_str(), 1);
    dir.write("HAMLIB.TXT", "rig model=3073\nrig device=/dev/ttyUSB0\nrig speed=19200\n");
    const test::HeadlessRun result =
        test::run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(
        std::count(result.journal.begin(), result.journal.end(),
                   "message \"Hamlib\" \"rigctld could not be started. Is Hamlib installed?\" ok"),
        1);
}

// Hamlib's real IC-7300 backend between the program and the bytes: rigctld -m 3073 on a
// pseudo-terminal where our CI-V radio answers, echoing each command as the radio's USB port
// does. The radio starts on 14.074 MHz USB; the tenth time the frequency is read (rigctld
// reads it five times as it opens) the operator turns it to 7.074 MHz LSB.
TEST_F(OnLineHamlibDaemonsTest, AnIcomRadioThroughHamlibsOwnBackend) {
    test::CivRadio radio(0x94);
    radio.echo = true;
    radio.turn_dial_after(9, 7074000, 0x00);
    test::SimulatedPorts ports;
    const std::string path = ports.serve(radio);
    const int port = test::free_port();
    test::ChildProcess rigctld({"rigctld", "-m", "3073", "-r", path, "-s", "19200", "-T",
                                "127.0.0.1", "-t", std::to_string(port)});
    ASSERT_TRUE(test::wait_for_listener(port));
    dir.write("HAMLIB.TXT", "rig=127.0.0.1:" + std::to_string(port) + "\n");
    const Lines journal = run("wait 25\nkey F8\nwait 60\nkey F8\n");
    expect_in_order(journal, {"static \"Twenty metres.\"", "static \"14.074 megahertz, USB.\"",
                              "static \"Forty metres.\"", "static \"7.074 megahertz, LSB.\""});
}

}  // namespace
}  // namespace vl
