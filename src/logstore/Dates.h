// Date and time codes, the three date formats, tidying of typed dates, and dates, times
// and two-digit numbers in words for the screen reader.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vl {

enum DateFormat { kDayMonthYear = 0, kMonthDayYear = 1, kYearMonthDay = 2 };

// Date code = Y * 500 + M * 35 + D - 32000, Y counted from 1900; it must fit in 16 bits,
// so the last date that can be stored is 22 July 2029.
constexpr int kMinDateCode = 30 * 500 + 1 * 35 + 1 - 32000;  // 1 January 1930
constexpr int kMaxDateCode = 32767;                          // 22 July 2029

struct DateParts {
    int day = 0;
    int month = 0;
    int year = 0;  // years since 1900
};

// Full 32-bit value; callers check it against kMaxDateCode before storing it.
int date_code(int years_since_1900, int month, int day);
DateParts date_parts(int code);

std::string date_text(int code, int format);
// The text must already be tidied; nothing if its code does not fit in 16 bits.
std::optional<int16_t> date_code_of_text(std::string_view tidied, int format);
// The 8-character form of a typed date, or nothing when it is not a date the log can hold.
std::optional<std::string> tidy_date(std::string_view typed, int format);

std::string time_text(int code);
int time_code_of_text(std::string_view hhmm);

extern const std::array<std::string_view, 13> kMonthNames;    // slots 1..12, " January " ...
extern const std::array<std::string_view, 20> kNumberWords;   // items 1..19
extern const std::array<std::string_view, 32> kOrdinalWords;  // items 1..31

std::string spoken_number(std::string_view two_digits);
std::string spoken_date(int code, int format);

}  // namespace vl
