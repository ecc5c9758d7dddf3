// The clock of on-line logging: a 100 ms tick that once a second renews the spoken UTC date
// and time boxes from the injectable clock and keeps the HH:MM and date the log-on uses.
#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/Ui.h"

namespace vl {

// "fourteen 02" and "fourteen March  Two thousand and twenty 5", as the boxes speak them.
std::string spoken_clock_time(const platform::DateTime& utc);
std::string spoken_clock_date(const platform::DateTime& utc);

class OnLineClock {
public:
    OnLineClock(platform::Ui& ui, platform::Clock& clock, platform::WindowId window, int date_box,
                int time_box)
        : m_ui(ui), m_clock(clock), m_window(window), m_date_box(date_box), m_time_box(time_box) {}

    // Every 100 ms; the boxes are renewed on the first tick and every tenth after it.
    void tick();
    // The time of the last renewal as HH:MM, and its date and time.
    const std::string& time_text() const { return m_time_text; }
    const platform::DateTime& now() const { return m_now; }

private:
    platform::Ui& m_ui;
    platform::Clock& m_clock;
    platform::WindowId m_window;
    int m_date_box;
    int m_time_box;
    int m_divider = 0;
    std::string m_time_text = "00:00";
    platform::DateTime m_now;
};

}  // namespace vl
