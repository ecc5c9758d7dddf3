// The on-line logging clock.
#include "logging/OnLineClock.h"

#include <algorithm>
#include <cstdio>

#include "logstore/Dates.h"

namespace vl {

namespace {

std::string two_digits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", ((value % 100) + 100) % 100);
    return text;
}

}  // namespace

// The hour after midnight is "00 ", not the "hundred" that Spoken number gives for 0.
std::string spoken_clock_time(const platform::DateTime& utc) {
    return (utc.hour == 0 ? std::string("00 ") : spoken_number(two_digits(utc.hour)) + " ") +
           spoken_number(two_digits(utc.minute));
}

std::string spoken_clock_date(const platform::DateTime& utc) {
    std::string day = two_digits(utc.day), year = two_digits(utc.year);
    return (day[0] == '0' ? day.substr(1) : spoken_number(day)) +
           std::string(kMonthNames[std::clamp(utc.month, 1, 12)]) + " Two thousand and " +
           (year[0] == '0' ? year.substr(1) : spoken_number(year));
}

void OnLineClock::tick() {
    if (m_divider == 0) {
        m_now = m_clock.utc_now();
        m_time_text = two_digits(m_now.hour) + ":" + two_digits(m_now.minute);
        m_ui.set_text(m_window, m_time_box, spoken_clock_time(m_now));
        m_ui.set_text(m_window, m_date_box, spoken_clock_date(m_now));
    }
    m_divider = (m_divider + 1) % 10;
}

}  // namespace vl
