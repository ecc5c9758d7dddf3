// What start-up does with a newer country file and a log too large to index. A missing country
// list, a damaged exceptions file and stray bytes after the log are played by the
// instructions_walk and start_up scenarios.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dxdata/CountryList.h"
#include "logstore/LogStore.h"

#include "support/TestSupport.h"

namespace vl {
namespace {

using test::run_program_headless;
using test::TempDir;

const std::string kMenuWindow = "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\"";

// A newer cty.dat in the program folder is read once: COUNTRY.EXC (and COUNTRY.LST where no
// number changes) are rebuilt from it, and a country the list lacks is named, not numbered.
TEST(StartUp, ANewerCountryFileIsReadOnceAndKeepsEveryNumber) {
    auto file = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    std::string newer = file(std::string(VARROW_TOOLS_DIR) + "/country/cty.dat");
    const std::string scotland = "Scotland:";
    std::size_t at = newer.find(';', newer.find(scotland));
    ASSERT_NE(at, std::string::npos);
    newer.insert(at, ",=G9NEW");  // a Scottish station holding an English-looking call
    newer +=
        "Newland:                  14:  27:  EU:   50.00:     1.00:     0.0:  Q9:\r\n"
        "    Q9;\r\n";
    TempDir dir;
    for (const char* name : {"COUNTRY.LST", "COUNTRY.EXC"}) {
        dir.write(name, file(std::string(VARROW_DATA_DIR) + "/" + name));
    }
    dir.write("cty.dat", newer);
    test::HeadlessRun first = run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    ASSERT_FALSE(first.journal.empty());
    EXPECT_NE(first.journal[0].find("\"VarrowLog\" \"COUNTRY.LST and COUNTRY.EXC were brought up "
                                    "to date from cty.dat."),
              std::string::npos)
        << first.journal[0];
    EXPECT_NE(first.journal[0].find("Left out, since a new country would need a new number: "
                                    "Newland."),
              std::string::npos)
        << first.journal[0];
    CountryList list;
    ASSERT_FALSE(list.load(dir.read("COUNTRY.LST")).has_value());
    list.load_exceptions(dir.read("COUNTRY.EXC"));
    ASSERT_GE(list.find("G9NEW"), 1);
    EXPECT_EQ(list.current_record()->name, "Scotland");
    EXPECT_EQ(list.find("G9NEX"), 1);  // England stays number 1
    EXPECT_EQ(list.find("Q9AB"), -1);
    test::HeadlessRun second = run_program_headless(dir.path(), "key Escape\n");
    EXPECT_EQ(second.journal[0], kMenuWindow);
}

TEST(StartUp, ALogTooLargeToIndexEndsTheProgramUntouched) {
    TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    std::string bytes(static_cast<std::size_t>(kMaxLogEntries + 1) * kRecordSize, 'A');
    dir.write("MYLOG.LOG", bytes);
    test::HeadlessRun run = run_program_headless(dir.path(), "answer ok\n");
    ASSERT_EQ(run.journal.size(), 1u);
    EXPECT_NE(run.journal[0].find("more than 120000 entries"), std::string::npos);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), bytes.size());
}

}  // namespace
}  // namespace vl
