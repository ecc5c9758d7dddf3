// The printed log.
#include "printing/LogPrint.h"

#include <algorithm>
#include <charconv>

#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

const platform::PrintFont kPlainFont{"Courier New", 12, false};
const platform::PrintFont kUnderlinedFont{"Courier New", 12, true};

// Control bytes (NULs of short fields, damaged records) would not print as one character
// each; a blank keeps the columns in line.
void append_printable(std::string& line, std::string_view field) {
    for (char c : field) {
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
}

std::string_view month_name(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[month] : std::string_view("         ");
}

std::string four_digit_year(int years_since_1900) {
    std::string year = std::to_string(1900 + years_since_1900);
    return year.size() < 4 ? std::string(4 - year.size(), ' ') + year : year.substr(0, 4);
}

}  // namespace

int log_page_count(int entries) {
    return entries <= 0 ? 0 : (entries + kLogEntriesPerPage - 1) / kLogEntriesPerPage;
}

int first_entry_of_page(int page) {
    return kLogEntriesPerPage * (page - 1) + 1;
}

int page_of_entry(int entry) {
    return (entry - 1) / kLogEntriesPerPage + 1;
}

std::string log_header_line(int page) {
    return "  Date     |Call        |Time On/Off|RST tx |RST rx | Freq |Mode|Power|" +
           std::string(10, ' ') + "Details" + std::string(10, ' ') + "Page" + plain_number(page);
}

std::string log_date_column(int date_code, int date_format) {
    DateParts parts = date_parts(date_code);
    std::string_view month = month_name(parts.month);
    std::string day = two_digits(parts.day);
    std::string year = four_digit_year(parts.year);
    switch (date_format) {
        case kMonthDayYear:
            return std::string(month.substr(1, 3)) + " " + day + " " + year;
        case kYearMonthDay:
            return year + std::string(month.substr(0, 4)) + " " + day;
        default:
            return day + std::string(month.substr(0, 4)) + " " + year;
    }
}

std::string log_entry_line(const LogRecord& record, int date_format,
                           const std::array<std::string, 15>& frequency_names) {
    std::string line = log_date_column(record.date(), date_format) + "|";
    line.reserve(140);
    switch (entry_kind(record)) {
        case EntryKind::Qso: {
            append_printable(line, record.call_field());
            line += "| " + time_text(record.time());
            line += "| " + time_text(record.time_off()) + "|";
            append_printable(line, record.rst_sent_field());
            line += '|';
            append_printable(line, record.rst_received_field());
            line += '|';
            // A band without a frequency name still takes its six places, so the later
            // columns stay under their headings.
            int band = band_of_band_field(record.band_field());
            line += band >= 0 && band <= kBandNone ? frequency_names[band] : std::string(6, ' ');
            line += '|';
            append_printable(line, record.mode_field());
            line += " |";
            append_printable(line, record.power_field());
            line += '|';
            append_printable(line, record.comment_field().substr(0, 35));
            break;
        }
        case EntryKind::Data: {
            DataEntry data = decode_data(record);
            line += "   " + time_text(data.time) + " Op: ";
            append_printable(line, data.operator_name);
            line += " Tcvr: ";
            append_printable(line, data.transceiver);
            line += " Ant: ";
            append_printable(line, data.antenna);
            line += " Band: ";
            int band = std::clamp<int>(data.band, 0, kBandNoFrequency);
            if (band <= kBandNone) {
                line += frequency_names[band];
            }
            break;
        }
        case EntryKind::Text:
            append_printable(line, decode_text(record).text);
            break;
    }
    return line;
}

std::optional<LogPrintStart> log_start_from_page(std::string_view page_text, int entries) {
    std::string_view digits = trim(page_text);
    int page = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), page);
    (void)end;
    // Page 0, a negative page or one past the end prints nothing.
    if (error != std::errc() || page < 1 || page > log_page_count(entries)) {
        return std::nullopt;
    }
    return LogPrintStart{first_entry_of_page(page), page};
}

std::optional<LogPrintStart> log_start_from_date(const LogStore& log, int date_code) {
    for (int entry = 1; entry <= log.count(); ++entry) {
        if (log.date_slot(entry) >= date_code) {
            return LogPrintStart{entry, page_of_entry(entry)};
        }
    }
    return std::nullopt;
}

LogPrintEnd print_log_pages(platform::PrintJob& job, const LogStore& log, LogPrintStart start,
                            int date_format, const std::array<std::string, 15>& frequency_names,
                            const std::function<bool()>& next_page) {
    platform::PageGeometry page = job.geometry();
    const int left = page.dpi_x / 2;
    const int top = page.dpi_y / 8;
    platform::PrintFont plain = kPlainFont;
    platform::PrintFont underlined = kUnderlinedFont;
    job.select_font(plain);
    platform::FontMetrics metrics = job.font_metrics();
    int spacing = metrics.height + metrics.external_leading;
    // Every page holds the header and 41 entries, as page numbers promise. Where a printer's
    // margins leave too little height for them, the lines close up, and the type is made
    // smaller only when the lines would otherwise overlap; no entry falls off a page.
    const int room = (page.height - top) / (1 + kLogEntriesPerPage);
    if (spacing > room && room > 0) {
        if (metrics.height > room) {
            plain.points = underlined.points = std::max(4, plain.points * room / metrics.height);
            job.select_font(plain);
            metrics = job.font_metrics();
        }
        spacing = std::min(metrics.height + metrics.external_leading, room);
    }

    int line_counter = 0;
    int page_counter = start.first_page;
    int y = top;
    auto print_header = [&] {
        job.select_font(underlined);
        y = top;
        job.text_out(left, y, log_header_line(page_counter));
        y += spacing;
        job.select_font(plain);
        line_counter = 2;
        ++page_counter;
    };

    const int last = log.count();
    for (int entry = std::max(start.first_entry, 1); entry <= last; ++entry) {
        if (line_counter < 2) {
            print_header();
        }
        if (entry == last) {
            job.select_font(underlined);
        }
        job.text_out(left, y, log_entry_line(log.entry(entry), date_format, frequency_names));
        y += spacing;
        if (++line_counter == kLogLinesPerPage) {
            job.end_page();
            if (!next_page()) {
                return LogPrintEnd::StoppedAtPageEnd;
            }
            print_header();
        }
    }
    job.select_font(plain);
    job.text_out(left, y, "        End of Log");
    job.end_page();
    return LogPrintEnd::EndOfLog;
}

}  // namespace vl
