// Print Q S L: which contacts get a label and in what order, their label values, and the
// refusals. The print runs, unattended and paused, are played by the print_qsl scenarios.
#include <gtest/gtest.h>

#include "logstore/Dates.h"
#include "printing/QslSelection.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

constexpr int kPrintQsl = 5;
constexpr std::string_view kCountries = "Q,QZZZZZZZ,Home,1,52,-1\r\nD,DZZZZZZZ,Germany,2,51,10\r\n";
const int16_t kDay = static_cast<int16_t>(date_code(104, 3, 14));

LogRecord contact(std::string_view call, std::string_view received, uint8_t flags,
                  int16_t day = kDay, std::string_view comment = "") {
    QsoEntry e;
    e.date = day;
    e.time_on = 13 * 60 + 5;
    e.call = call;
    e.rst_sent = "599";
    e.rst_received = received;
    e.band_field = band_field_of(4);
    e.mode = "CW";
    e.power = "100";
    e.comment = comment;
    e.qsl_flags = flags;
    return encode(e);
}

class QslTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", kCountries);
        countries.load(kCountries);
    }
    void write_log(const std::vector<LogRecord>& records) {
        dir.write("MYLOG.LOG", test::log_bytes(records));
        log.close();
        log.open(dir.file("MYLOG.LOG"));
    }
    std::vector<int> selected(const QslFilter& filter) {
        QslSelection s = select_qsls(log, countries, filter);
        std::vector<int> numbers;
        for (const auto* list : {&s.home, &s.other}) {
            for (const QslItem& item : *list) {
                numbers.push_back(item.qso);
            }
        }
        return numbers;
    }
    // Journal lines of a run of Print Q S L, the label texts and messages only.
    Lines run(const std::string& script, test::TestPrinter printer = test::TestPrinter::Ready) {
        test::HeadlessRun result = test::run_program_headless(
            dir.path(), test::open_menu_entry(kPrintQsl) + script + "key Escape\nkey Escape\n",
            printer);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        Lines kept;
        for (const std::string& line : result.journal) {
            if (line.rfind("print text", 0) == 0 || line.rfind("print page", 0) == 0 ||
                line.rfind("print job end", 0) == 0 || line.rfind("message", 0) == 0 ||
                line.rfind("window \"End", 0) == 0 || line.rfind("window \" ", 0) == 0) {
                kept.push_back(line.rfind("print text", 0) == 0 ? line.substr(line.find('"'))
                                                                : line);
            }
        }
        return kept;
    }
    std::vector<int> sent_flags() {
        log.close();
        log.open(dir.file("MYLOG.LOG"));
        std::vector<int> flags;
        for (int i = 1; i <= log.count(); ++i) {
            flags.push_back(log.entry(i).qsl_flags() & kQslSentFlag);
        }
        return flags;
    }
    test::TempDir dir;
    LogStore log{platform::system_files()};
    CountryList countries;
};

TEST_F(QslTest, SelectionSkipsAndOrders) {
    write_log({
        contact("Q3ZZ", "57", 0),                                     // 1 home
        contact("CQ", "57", 0),                                       // 2 never
        encode(TextEntry{kDay, 0, "note"}),                           // 3 never
        encode(DataEntry{kDay, 0, "Ann", "FT920", "Dipole", 4}),      // 4 DATA of band 4
        contact("DL1XYZ/P", "57", 0),                                 // 5 other
        contact("Q1ABC", "57", 1),                                    // 6 sent already
        contact("DA2BB", "", 0),                                      // 7 nothing received
        contact("Q1ABC/M", "55", 2, static_cast<int16_t>(kDay + 1)),  // 8 home, received
        contact("DA1AA", "10", 0),                                    // 9 received below 11
    });
    const struct {
        const char* what;
        QslFilter filter;
        std::vector<int> labels;
    } kCases[] = {
        // Home calls by the bureau's order (1ABCQ before 3ZZQ), then the others.
        {"all", {}, {8, 1, 5}},
        {"received only", {-32000, "", true}, {8}},
        {"from a date", {kDay + 1, "", false}, {8}},
        {"one call", {-32000, "Q", false}, {1}},  // the first unsent one only
        {"a call part", {-32000, "XYZ", false}, {5}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(selected(c.filter), c.labels) << c.what;
    }
    QslSelection all = select_qsls(log, countries, {});
    EXPECT_EQ(all.home[0].key, "1ABCQ" + std::to_string(kDay + 1 + 32000));
    EXPECT_EQ(all.other[0].key, "DL1XYZ" + std::to_string(kDay + 32000));
    EXPECT_EQ(all.other[0].data, 4);
    EXPECT_EQ(all.home[1].data, 0) << "no DATA entry came before it";
}

TEST_F(QslTest, LabelValuesOfAContact) {
    write_log({encode(DataEntry{kDay, 0, "Ann", "FT920", "Dipole", 4}),
               contact("Q1ABC", "57", 2, kDay, "QSL via q9mgr please"), contact("DL1AA", "57", 0)});
    StationData station;
    station.bands[4] = {"IC7300", "100", "Yagi", "Bob", "CW"};
    LabelValues values;
    set_qso_label_values(values, log, QslItem{"", 2, 1}, true, station);
    EXPECT_EQ(values['A'], "Q1ABC via Q9MGR");
    EXPECT_EQ(values['B'], "14 Mar 04");
    EXPECT_EQ(values['C'], "1305");
    EXPECT_EQ(values['D'], "599    ");
    EXPECT_EQ(values['E'], "CW ");
    EXPECT_EQ(values['F'], " 20m");
    EXPECT_EQ(values['H'], "Thanks for your QSL");
    EXPECT_EQ(values['I'] + values['J'] + values['L'], "FT920       Dipole      Ann         ");
    set_qso_label_values(values, log, QslItem{"", 3, 0}, false, station);
    EXPECT_EQ(values['A'], "DL1AA");
    EXPECT_EQ(values['H'], "Please QSL via Bureau or Direct");
    EXPECT_EQ(values['I'] + values['J'] + values['L'], "IC7300      Yagi        Bob         ");
}

TEST_F(QslTest, RefusalsAndMessages) {
    write_log({contact("DL1AA", "57", 1)});
    const struct {
        const char* settings;
        std::string script;
        std::string message;
    } kCases[] = {
        {"\x01\x02\x00\x05", "key F12\nanswer ok\n",
         "message \"Selection error\" \"No label width specified\" ok"},
        {"\x02\x01\x05\x00", "key F2\nanswer ok\n",
         "message \"Selection error\" \"No label height specified\" ok"},
        {"\x01\x01\x00\x00", "key F12\nanswer ok\n",
         "message \"QSL check complete\" \"No QSLs to print\" ok"},
    };
    for (const auto& c : kCases) {
        dir.write("QSL.DAT", std::string(c.settings, 4) + std::string(4, '\0'));
        EXPECT_EQ(run(c.script), Lines{c.message}) << c.message;
    }
    EXPECT_EQ(run("key F2\nanswer ok\n", test::TestPrinter::Missing),
              Lines{"message \"Printer Report\" \"Printer Fail\" ok"});
    // A test print fills one sheet with the sample label; nothing is written to the log.
    dir.write("QSL.DAT", std::string("\x01\x02\x32\x1E\x00\x00YN", 8));
    dir.write("QSL.DTA", "$A$");
    EXPECT_EQ(run("key F2\n"),
              (Lines{"\"Q0ZZZ.......\"", "\"Q0ZZZ.......\"", "print page end", "print job end"}));
    EXPECT_EQ(dir.read("QSL.DAT"), std::string("\x01\x02\x32\x1E\x00\x00YN", 8));
    EXPECT_EQ(sent_flags(), (std::vector<int>{1}));
}

}  // namespace
}  // namespace vl
