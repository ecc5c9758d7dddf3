// Dates, times and spoken numbers.
#include "logstore/Dates.h"

#include "logstore/Text.h"

namespace vl {

const std::array<std::string_view, 13> kMonthNames = {
    "",       " January ", " February ",  " March ",   " April ",    " May ",     " June ",
    " July ", " August ",  " September ", " October ", " November ", " December "};

const std::array<std::string_view, 20> kNumberWords = {
    "",        "ten",       "eleven",   "twelve",   "thirteen", "fourteen", "fifteen",
    "sixteen", "seventeen", "eighteen", "nineteen", "twenty",   "thirty",   "forty",
    "fifty",   "sixty",     "seventy",  "eighty",   "ninety",   "hundred"};

const std::array<std::string_view, 32> kOrdinalWords = {"",
                                                        "First",
                                                        "Second",
                                                        "Third",
                                                        "Fourth",
                                                        "Fifth",
                                                        "Sixth",
                                                        "Seventh",
                                                        "Eighth",
                                                        "Ninth",
                                                        "Tenth",
                                                        "Eleventh",
                                                        "Twelfth",
                                                        "Thirteenth",
                                                        "Fourteenth",
                                                        "Fifteenth",
                                                        "Sixteenth",
                                                        "Seventeenth",
                                                        "Eighteenth",
                                                        "Nineteenth",
                                                        "twentieth",
                                                        "Twenty first",
                                                        "Twenty second",
                                                        "Twenty third",
                                                        "Twenty fourth",
                                                        "Twenty fifth",
                                                        "Twenty sixth",
                                                        "Twenty seventh",
                                                        "Twenty eighth",
                                                        "Twenty ninth",
                                                        "Thirtieth",
                                                        "Thirty first"};

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int field_value(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// Day, month and year positions (0-based) of the 8-character text in each format.
struct FieldPositions {
    std::size_t day, month, year;
};

FieldPositions positions(int format) {
    switch (format) {
        case kMonthDayYear:
            return {3, 0, 6};
        case kYearMonthDay:
            return {6, 3, 0};
        default:
            return {0, 3, 6};
    }
}

int full_year(int two_digit_year) {
    return two_digit_year < 30 ? two_digit_year + 100 : two_digit_year;
}

std::size_t first_separator(std::string_view text, std::size_t from) {
    std::size_t at = text.find_first_of("-/", from);
    return at == std::string_view::npos ? 0 : at + 1;  // 1-based, 0 when absent
}

}  // namespace

int date_code(int years_since_1900, int month, int day) {
    return years_since_1900 * 500 + month * 35 + day - 32000;
}

DateParts date_parts(int code) {
    int v = code + 32000;
    DateParts parts;
    parts.year = v / 500;
    v -= parts.year * 500;
    parts.month = v / 35;
    parts.day = v - parts.month * 35;
    return parts;
}

std::string date_text(int code, int format) {
    DateParts p = date_parts(code);
    std::string d = two_digits(p.day), m = two_digits(p.month), y = two_digits(p.year);
    switch (format) {
        case kMonthDayYear:
            return m + "/" + d + "/" + y;
        case kYearMonthDay:
            return y + "/" + m + "/" + d;
        default:
            return d + "/" + m + "/" + y;
    }
}

std::optional<int16_t> date_code_of_text(std::string_view tidied, int format) {
    if (tidied.size() != 8) {
        return std::nullopt;
    }
    FieldPositions at = positions(format);
    for (std::size_t i : {at.day, at.month, at.year}) {
        if (!is_digit(tidied[i]) || !is_digit(tidied[i + 1])) {
            return std::nullopt;
        }
    }
    int code = date_code(full_year(field_value(tidied, at.year)), field_value(tidied, at.month),
                         field_value(tidied, at.day));
    if (code > kMaxDateCode || code < -32768) {
        return std::nullopt;
    }
    return static_cast<int16_t>(code);
}

std::optional<std::string> tidy_date(std::string_view typed, int format) {
    std::string s(typed);
    std::size_t p = first_separator(s, 0);
    if (p == 0 || p > 3) {
        if (s.size() != 6) {
            return std::nullopt;
        }
        s = s.substr(0, 2) + "/" + s.substr(2, 2) + "/" + s.substr(4, 2);
    } else {
        if (p != 3) {
            s.insert(0, "0");
        }
        std::size_t q = first_separator(s, 3);
        if (q != 5 && q != 6) {
            return std::nullopt;
        }
        if (q == 5) {
            s.insert(3, "0");
        }
    }
    if (s.size() == 7) {
        s.insert(6, "0");
    }
    if (s.size() != 8) {
        return std::nullopt;
    }
    FieldPositions at = positions(format);
    // Every field must be two digits: letters would otherwise read as a silent 0.
    for (std::size_t i : {at.day, at.month, at.year}) {
        if (!is_digit(s[i]) || !is_digit(s[i + 1])) {
            return std::nullopt;
        }
    }
    int day = field_value(s, at.day), month = field_value(s, at.month);
    if (day < 1 || day > 31 || month < 1 || month > 12) {
        return std::nullopt;
    }
    // The days of each month are not tested, but a date past the last storable date
    // would wrap round to a wrong code.
    if (date_code(full_year(field_value(s, at.year)), month, day) > kMaxDateCode) {
        return std::nullopt;
    }
    return s;
}

std::string time_text(int code) {
    int hours = code / 60;
    return two_digits(hours) + two_digits(code - hours * 60);
}

int time_code_of_text(std::string_view hhmm) {
    std::string text(hhmm);
    if (text.size() == 3) {
        text.insert(0, "0");
    }
    if (text.size() < 2) {
        return static_cast<int>(leading_number(text));
    }
    auto hours = static_cast<int>(leading_number(text.substr(0, 2)));
    auto minutes = static_cast<int>(leading_number(text.substr(text.size() - 2)));
    return hours * 60 + minutes;
}

std::string spoken_number(std::string_view digits) {
    auto n = static_cast<int>(leading_number(digits));
    if (n == 0) {
        return "hundred";
    }
    if (n < 10) {
        return std::string(digits);
    }
    if (n <= 19) {
        return std::string(kNumberWords[n - 9]);
    }
    if (n > 99) {
        return std::to_string(n);
    }
    std::string text = std::to_string(n);
    std::string words(kNumberWords[9 + (text[0] - '0')]);
    if (text[1] != '0') {
        words += ' ';
        words += text[1];
    }
    return words;
}

std::string spoken_date(int code, int format) {
    DateParts p = date_parts(code);
    int years = p.year;
    std::string year_words;
    std::string joining;
    if (years > 99) {
        year_words = "Two thousand ";
        joining = years > 100 ? "and" : "";
        years -= 100;
    } else {
        year_words = "Nineteen ";
    }
    if (years != 0) {
        if (years > 9) {
            year_words += spoken_number(two_digits(years));
        } else {
            year_words += joining + plain_number(years);
        }
    }
    // Codes read from a damaged file may decode to a day or month no table holds.
    std::string ordinal =
        p.day >= 1 && p.day <= 31 ? std::string(kOrdinalWords[p.day]) : std::to_string(p.day);
    std::string month = p.month >= 1 && p.month <= 12 ? std::string(kMonthNames[p.month])
                                                      : " " + std::to_string(p.month) + " ";
    switch (format) {
        case kMonthDayYear:
            return month + ordinal + " " + year_words + ", ";
        case kYearMonthDay:
            return year_words + " " + month + ordinal + ", ";
        default:
            return ordinal + " " + month + year_words + ", ";
    }
}

}  // namespace vl
