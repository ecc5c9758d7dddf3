// The on-line logging screen run whole from a key script, for the tests of its radio and
// rotator links: a station with data on 20 m, 40 m and 10 m, a home in England, an empty log.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl::test {

// The whole journal must be the one kept in `name` under tests/; VARROW_BLESS=1 writes it
// instead.
inline void expect_kept(const std::vector<std::string>& journal, const std::string& name) {
    ASSERT_FALSE(journal.empty()) << "the journal is empty";
    const std::string kept = std::string(VARROW_TESTS_DIR) + "/" + name;
    std::string text;
    for (const std::string& line : journal) {
        text += line + "\n";
    }
    if (std::getenv("VARROW_BLESS") != nullptr) {
        std::ofstream(kept, std::ios::binary) << text;
        return;
    }
    std::ifstream in(kept, std::ios::binary);
    EXPECT_EQ(text, std::string(std::istreambuf_iterator<char>(in), {})) << kept;
}

class OnLineScreenTest : public ::testing::Test {
protected:
    using Lines = std::vector<std::string>;

    // `forty` is the mode 40 m logs; `rotator_port` names the serial rotator's port, if any.
    void set_up_station(const std::string& forty, const std::string& rotator_port = "") {
        dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\nJA,JS,Japan,339,36,140\r\n");
        std::string station;
        for (int band = 0; band < 13; ++band) {
            station += band == 4   ? "FT1,100,Yagi,Op,USB\r\n"
                       : band == 2 ? "FT1,400,Dipole,Op," + forty + "\r\n"
                       : band == 8 ? "FT1,50,Vertical,Op,FT8\r\n"
                                   : ",,,,\r\n";
        }
        dir.write("RIG.LST", station + "0\r\n");
        std::string settings;
        for (int line = 0; line < 10; ++line) {
            settings += "\r\n";  // no databases
        }
        dir.write("DBNAMES.TXT", settings + "52\r\n-1\r\n\r\n" + rotator_port + "\r\n");
        dir.write("MYLOG.LOG", "");
    }

    // The journal from the screen's opening; the script must leave through its Escape keys.
    Lines run(const std::string& script, platform::SerialPorts* serial = nullptr) {
        const HeadlessRun result =
            run_program_headless(dir.path(),
                                 "clock 2025-03-14 14:02:00\n" + open_menu_entry(2) + script +
                                     "key Escape\nanswer yes\nkey Escape\n",
                                 TestPrinter::Ready, nullptr, serial);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return lines_from(result.journal, std::string("window \"On Line Logging\""));
    }

    static void expect_in_order(const Lines& journal, const Lines& want) {
        auto at = journal.begin();
        for (const std::string& line : want) {
            at = std::find(at, journal.end(), line);
            ASSERT_NE(at, journal.end()) << "missing, in order: " << line << "\nin:\n"
                                         << ::testing::PrintToString(journal);
            ++at;
        }
    }

    static std::ptrdiff_t count(const Lines& journal, const std::string& line) {
        return std::count(journal.begin(), journal.end(), line);
    }

    TempDir dir;
};

}  // namespace vl::test
