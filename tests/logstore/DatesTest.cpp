// Date codes, date formats, Tidy date, spoken numbers and dates. Time codes both ways, typed
// with three digits, four or none, are in the scenarios' journals.
#include <gtest/gtest.h>

#include "logstore/Dates.h"

namespace vl {
namespace {

TEST(DateCode, KnownCodesAndTheirTexts) {
    EXPECT_EQ(date_code(100, 1, 1), 18036);
    EXPECT_EQ(date_text(18036, kDayMonthYear), "01/01/00");
    EXPECT_EQ(date_code(129, 7, 22), 32767);
    EXPECT_EQ(date_code(129, 7, 22), kMaxDateCode);
    EXPECT_EQ(date_code(30, 1, 1), -16964);
    EXPECT_EQ(date_code(30, 1, 1), kMinDateCode);

    int code = date_code(114, 5, 14);
    EXPECT_EQ(date_text(code, kDayMonthYear), "14/05/14");
    EXPECT_EQ(date_text(code, kMonthDayYear), "05/14/14");
    EXPECT_EQ(date_text(code, kYearMonthDay), "14/05/14");
    EXPECT_EQ(date_text(date_code(104, 7, 4), kYearMonthDay), "04/07/04");
}

TEST(DateCode, TextRoundTripInEveryFormat) {
    for (int format : {kDayMonthYear, kMonthDayYear, kYearMonthDay}) {
        for (int year : {30, 99, 100, 114, 129}) {
            for (int month = 1; month <= 12; ++month) {
                for (int day : {1, 9, 28, 31}) {
                    int code = date_code(year, month, day);
                    if (code > kMaxDateCode) {
                        continue;
                    }
                    auto back = date_code_of_text(date_text(code, format), format);
                    ASSERT_TRUE(back.has_value()) << date_text(code, format);
                    EXPECT_EQ(*back, code) << date_text(code, format) << " format " << format;
                }
            }
        }
        // A field with a letter or a blank in either place is no date.
        for (const char* text : {"1a/03/14", "a4/03/14", "14/0b/14", "14/ 3/14", "14/03/1c"}) {
            EXPECT_FALSE(date_code_of_text(text, format).has_value()) << text;
        }
    }
}

TEST(DateCode, CodesSortInDateOrder) {
    EXPECT_LT(date_code(99, 12, 31), date_code(100, 1, 1));
    EXPECT_LT(date_code(114, 1, 31), date_code(114, 2, 1));
    EXPECT_LT(date_code(114, 2, 28), date_code(114, 2, 29));
}

TEST(TidyDate, ShapesErrorsAndFormats) {
    struct Case {
        const char* typed;
        int format;
        const char* tidied;  // nullptr: refused
    };
    static const Case kCases[] = {
        {"1-5-14", kDayMonthYear, "01-05-14"},
        {"140514", kDayMonthYear, "14/05/14"},
        {"1/5/4", kDayMonthYear, "01/05/04"},
        {"01/05/4", kDayMonthYear, "01/05/04"},
        {"12/31/14", kMonthDayYear, "12/31/14"},
        {"31/02/14", kDayMonthYear, "31/02/14"},  // days of the month are not tested
        {"14/5/31", kYearMonthDay, "14/05/31"},
        {"22/07/29", kDayMonthYear, "22/07/29"},  // the last date a code can hold
        {"1405", kDayMonthYear, nullptr},
        {"13/13/14", kDayMonthYear, nullptr},
        {"12/31/14", kDayMonthYear, nullptr},
        {"00/05/14", kDayMonthYear, nullptr},
        {"1/555/14", kDayMonthYear, nullptr},
        {"1234567", kDayMonthYear, nullptr},
        {"", kDayMonthYear, nullptr},
        {"01/05/2014", kDayMonthYear, nullptr},
        {"1a/05/14", kDayMonthYear, nullptr},  // letters would read as 0
        {"01/05/ab", kDayMonthYear, nullptr},
        // Past 22 July 2029 a code would wrap round to a date in 1898.
        {"23/07/29", kDayMonthYear, nullptr},
        {"31/12/29", kDayMonthYear, nullptr},
        {"12/31/29", kMonthDayYear, nullptr},
        {"29/08/01", kYearMonthDay, nullptr},
    };
    for (const Case& c : kCases) {
        auto tidied = tidy_date(c.typed, c.format);
        if (c.tidied == nullptr) {
            EXPECT_FALSE(tidied.has_value())
                << "\"" << c.typed << "\" gave " << tidied.value_or("");
        } else {
            ASSERT_TRUE(tidied.has_value()) << "\"" << c.typed << "\" refused";
            EXPECT_EQ(*tidied, c.tidied);
            EXPECT_TRUE(date_code_of_text(*tidied, c.format).has_value()) << *tidied;
        }
    }
    EXPECT_FALSE(date_code_of_text("23/07/29", kDayMonthYear).has_value());
}

// "hundred", a digit alone, "ten" to "sixteen", "thirty", "forty 9" and "ninety 9" are said by
// the scenarios' journals; none says the last of the teens.
TEST(SpokenNumber, ForReadingTimes) {
    EXPECT_EQ(spoken_number("19"), "nineteen");
}

// Day first, the years of two centuries and "and" below ten are said by the scenarios' journals
// ("Fourteenth  January Two thousand fourteen", "Twenty second  July Two thousand twenty 9").
TEST(SpokenDate, WordsInTheOrderOfEachFormat) {
    EXPECT_EQ(spoken_date(date_code(104, 7, 4), kMonthDayYear),
              " July Fourth Two thousand and 4, ");
    EXPECT_EQ(spoken_date(date_code(101, 7, 4), kYearMonthDay),
              "Two thousand and 1  July Fourth, ");
    EXPECT_EQ(spoken_date(date_code(100, 12, 31), kDayMonthYear),
              "Thirty first  December Two thousand , ");
}

TEST(SpokenDate, DamagedCodesStillGiveWords) {
    // Day 0 and month 0 come from codes no screen writes, but a damaged log can hold them.
    EXPECT_EQ(spoken_date(date_code(100, 0, 0), kDayMonthYear), "0  0 Two thousand , ");
    EXPECT_FALSE(spoken_date(-32768, kDayMonthYear).empty());
}

}  // namespace
}  // namespace vl
