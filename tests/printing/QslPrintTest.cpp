// Print Q S L: which contacts get a label and in what order. The screen's runs and refusals
// are played by the print_qsl and qsl_refusals scenarios, the values of a label by
// label_markup and label_plain.
#include <gtest/gtest.h>

#include "logstore/Dates.h"
#include "printing/QslSelection.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

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
    void SetUp() override { countries.load(kCountries); }
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

}  // namespace
}  // namespace vl
