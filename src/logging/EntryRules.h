// The rules of the entry editor, apart from its screen: what a typed QSO, DATA or Text
// entry becomes as a log record, the checks a QSO must pass, the last-entry lookup, and
// saving an entry into the log at its date-and-time place.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"

namespace vl {

enum class EntryKindChoice { Qso = 1, Data = 2, Text = 3 };

// The boxes of the QSO form as typed, box 102 (call) to 113 (QSL received); the date is
// passed separately, already turned into its code.
struct QsoBoxes {
    std::string call, time_on, time_off, rst_sent, rst_received, frequency, mode, power, comment,
        qsl_sent, qsl_received;
};
struct DataBoxes {
    std::string time, operator_name, transceiver, antenna, band;
};
struct TextBoxes {
    std::string time, text;
};

// A record, or the box (101..113) that must be filled first.
struct EntryBuild {
    std::optional<LogRecord> record;
    int failed_box = 0;
};

// A time of day as typed: four digits, hours 00-23 and minutes 00-59.
bool is_time_text(std::string_view text);

// Fails on an empty required box, and on a time box that does not hold a time of day.
EntryBuild build_qso(int16_t date, const QsoBoxes& boxes);
LogRecord build_data(int16_t date, const DataBoxes& boxes);
LogRecord build_text(int16_t date, const TextBoxes& boxes);

// The boxes as the editor fills them from a stored entry.
QsoBoxes qso_boxes_of(const LogRecord& record, const std::array<std::string, 15>& frequency_names);
DataBoxes data_boxes_of(const LogRecord& record,
                        const std::array<std::string, 15>& frequency_names);
TextBoxes text_boxes_of(const LogRecord& record);

// The frequency name of a band number; numbers without a name give the blank one.
const std::string& frequency_name(const std::array<std::string, 15>& names, int band);

struct LastEntry {
    std::string text;     // "Fourteenth  January Two thousand fourteen, at 1430 on 14MHz A1A"
    std::string comment;  // as stored
};

// The newest entry whose base call equals that of `call`, from entry `newest` down.
std::optional<LastEntry> find_last_entry(const LogStore& log, std::string_view call, int newest,
                                         int date_format,
                                         const std::array<std::string, 15>& frequency_names);

// Saves an entry: an edited entry (number `replacing`, 0 for none) is taken out and the new
// record goes in at its date-and-time place, all in one change of the file. A QSO with a
// received report above 1 is marked in the DXCC chart.
LogStatus save_entry(LogStore& log, CountryList& countries, DxccChart& chart,
                     const LogRecord& record, int replacing, int* position);

}  // namespace vl
