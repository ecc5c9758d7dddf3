// Reading the log in words, and searching it: the browser's summary sentence of an entry,
// the call-sign and comment searches, and the first entry of a date.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "logstore/LogStore.h"

namespace vl {

// Time as spoken: hours, then minutes, in words for the screen reader ("fourteen thirty").
std::string spoken_time(int time_code);

// "Entry 5, Fourteenth  January Two thousand fourteen,  G 9 Z Z A, at ..." as the browser
// shows and the screen reader speaks it.
std::string entry_summary(const LogRecord& record, int number, int date_format,
                          const std::array<std::string, 15>& frequency_names);

enum class SearchField { CallSign, Comment };

// The next (or previous) entry after `from` whose call field holds `text`, or whose
// comment holds it ignoring case (text and data entries are passed over); 0 when none.
// The walk forward starts at from + 1 and the walk backward at from - 1.
int search_log(const LogStore& log, SearchField field, std::string_view text, int from,
               bool forward);

// The first entry dated on or after `date_code`, or the last entry when there is none.
int first_entry_from(const LogStore& log, int16_t date_code);

}  // namespace vl
