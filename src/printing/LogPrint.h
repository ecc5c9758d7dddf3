// The printed log: one line per entry in landscape, 41 entries under a two-line header on
// every page, the last entry underlined and followed by "End of Log".
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "logstore/LogStore.h"
#include "platform/Printer.h"

namespace vl {

constexpr int kLogLinesPerPage = 43;    // the header counts as two
constexpr int kLogEntriesPerPage = 41;  // what follows the header on every page

// Pages of a whole print; page p begins with entry 41 * (p - 1) + 1, so a print from page
// p gives exactly page p of a whole print.
int log_page_count(int entries);
int first_entry_of_page(int page);
int page_of_entry(int entry);

// The header line, ending with the page number.
std::string log_header_line(int page);
// An entry's line: the date column, "|", then the columns of its kind.
std::string log_entry_line(const LogRecord& record, int date_format,
                           const std::array<std::string, 15>& frequency_names);
// The 11-character date column in the order of the date format.
std::string log_date_column(int date_code, int date_format);

struct LogPrintStart {
    int first_entry = 1;
    int first_page = 1;
};

// Where a print begins from the screen's Page box: nothing for a page outside 1..pages.
std::optional<LogPrintStart> log_start_from_page(std::string_view page_text, int entries);
// Where a print from a date code begins: the first entry on or after it, numbered as in a
// whole print; nothing when every entry is older.
std::optional<LogPrintStart> log_start_from_date(const LogStore& log, int date_code);

enum class LogPrintEnd { EndOfLog, StoppedAtPageEnd };

// Prints the entries from start to the end of the log on an open job. `next_page` is asked
// at each page end; false stops the print there.
LogPrintEnd print_log_pages(platform::PrintJob& job, const LogStore& log, LogPrintStart start,
                            int date_format, const std::array<std::string, 15>& frequency_names,
                            const std::function<bool()>& next_page);

}  // namespace vl
