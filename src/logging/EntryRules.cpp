// Entry editor rules.
#include "logging/EntryRules.h"

#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

int16_t time_code(std::string_view text) {
    return static_cast<int16_t>(time_code_of_text(text));
}

bool contains_y(std::string_view text) {
    return to_upper(text).find('Y') != std::string::npos;
}

// "14MHz " shows as "14" in the frequency box.
std::string frequency_box_text(const std::string& name) {
    std::string text(trim_right(name));
    for (std::size_t at = text.find("MHz"); at != std::string::npos; at = text.find("MHz")) {
        text.erase(at, 3);
    }
    return text;
}

}  // namespace

const std::string& frequency_name(const std::array<std::string, 15>& names, int band) {
    return band >= 0 && band < 15 ? names[band] : names[kBandNone];
}

bool is_time_text(std::string_view text) {
    if (text.size() != 4) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return (text[0] - '0') * 10 + (text[1] - '0') <= 23 && text[2] <= '5';
}

EntryBuild build_qso(int16_t date, const QsoBoxes& b) {
    EntryBuild build;
    QsoEntry e;
    e.date = date;
    if (b.call.empty()) {
        build.failed_box = 102;
        return build;
    }
    e.call = b.call;
    if (!is_time_text(b.time_on)) {
        build.failed_box = 104;
        return build;
    }
    if (!b.time_off.empty() && !is_time_text(b.time_off)) {
        build.failed_box = 105;
        return build;
    }
    e.time_on = time_code(b.time_on);
    e.time_off = time_code(b.time_off.empty() ? b.time_on : b.time_off);
    if (b.frequency.empty()) {
        build.failed_box = 108;
        return build;
    }
    e.band_field = band_field_of(band_of_frequency(b.frequency));
    if (b.mode.empty()) {
        build.failed_box = 109;
        return build;
    }
    // The call "CQ" keeps its mode and reports empty (zero bytes).
    const bool cq = base_call(b.call + " ") == "CQ ";
    if (!cq) {
        e.mode = b.mode;
        std::string_view report = default_report(b.mode);
        e.rst_sent = b.rst_sent.empty() ? std::string(report) : b.rst_sent;
        e.rst_received = b.rst_received.empty() ? fit(e.rst_sent, 7) : b.rst_received;
    }
    if (b.power.empty()) {
        build.failed_box = 110;
        return build;
    }
    e.power = b.power;
    e.comment = b.comment;
    e.qsl_flags = static_cast<uint8_t>((contains_y(b.qsl_sent) ? 1 : 0) |
                                       (contains_y(b.qsl_received) ? 2 : 0));
    LogRecord record = encode(e);
    if (cq) {
        record.zero_reports_and_mode();
    }
    build.record = record;
    return build;
}

LogRecord build_data(int16_t date, const DataBoxes& b) {
    DataEntry e;
    e.date = date;
    e.time = time_code(b.time);
    e.operator_name = b.operator_name;
    e.transceiver = b.transceiver;
    e.antenna = b.antenna;
    e.band = static_cast<int16_t>(band_of_frequency(b.band));
    return encode(e);
}

LogRecord build_text(int16_t date, const TextBoxes& b) {
    TextEntry e;
    e.date = date;
    e.time = time_code(b.time);
    e.text = b.text;
    return encode(e);
}

QsoBoxes qso_boxes_of(const LogRecord& record, const std::array<std::string, 15>& frequency_names) {
    QsoEntry e = decode_qso(record);
    QsoBoxes b;
    b.call = trim_right(e.call);
    b.time_on = time_text(e.time_on);
    b.time_off = time_text(e.time_off);
    b.rst_sent = trim_right(std::string_view(e.rst_sent).substr(0, e.rst_sent.find('\0')));
    b.rst_received =
        trim_right(std::string_view(e.rst_received).substr(0, e.rst_received.find('\0')));
    b.frequency =
        frequency_box_text(frequency_name(frequency_names, band_of_band_field(e.band_field)));
    b.mode = trim_right(std::string_view(e.mode).substr(0, e.mode.find('\0')));
    b.power = trim_right(e.power);
    b.comment = trim_right(e.comment);
    b.qsl_sent = (e.qsl_flags & 1) ? "Yes" : "No";
    b.qsl_received = (e.qsl_flags & 2) ? "Yes" : "No";
    return b;
}

DataBoxes data_boxes_of(const LogRecord& record,
                        const std::array<std::string, 15>& frequency_names) {
    DataEntry e = decode_data(record);
    DataBoxes b;
    b.time = time_text(e.time);
    b.operator_name = trim(e.operator_name);
    b.transceiver = trim(e.transceiver);
    b.antenna = trim(e.antenna);
    b.band = frequency_box_text(
        frequency_name(frequency_names, e.band < 0 || e.band > 19 ? 19 : e.band));
    return b;
}

TextBoxes text_boxes_of(const LogRecord& record) {
    TextEntry e = decode_text(record);
    return {time_text(e.time), std::string(trim(e.text))};
}

std::optional<LastEntry> find_last_entry(const LogStore& log, std::string_view call, int newest,
                                         int date_format,
                                         const std::array<std::string, 15>& frequency_names) {
    std::string wanted(trim_right(base_call(std::string(call) + " ")));
    for (int i = std::min(newest, log.count()); i >= 1; --i) {
        if (trim_right(log.call_slot(i)) != wanted) {
            continue;
        }
        const LogRecord& r = log.entry(i);
        LastEntry last;
        // The band name keeps its blanks; a six-letter one ("3.5MHz") gets one before the mode.
        std::string band = frequency_name(frequency_names, band_of_band_field(r.band_field()));
        if (!band.empty() && band.back() != ' ') {
            band += ' ';
        }
        last.text = spoken_date(r.date(), date_format) + "at " + time_text(r.time()) + " on " +
                    band + std::string(r.mode_field());
        last.comment = r.comment_field();
        return last;
    }
    return std::nullopt;
}

LogStatus save_entry(LogStore& log, CountryList& countries, DxccChart& chart,
                     const LogRecord& record, int replacing, int* position) {
    if (replacing > 0) {
        LogStatus removed = log.remove_for_edit(replacing);
        if (removed != LogStatus::Ok) {
            return removed;
        }
    }
    LogStatus status = log.insert_in_order(record, position);
    if (status != LogStatus::Ok || entry_kind(record) != EntryKind::Qso) {
        return status;
    }
    if (leading_number(record.rst_received_field()) > 1) {
        chart.mark(countries.find(record.call_field()), band_of_band_field(record.band_field()),
                   mode_class(record.mode_field()), record.qsl_flags());
    }
    return status;
}

}  // namespace vl
