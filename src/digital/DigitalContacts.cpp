// WSJT-X sends one contact twice, as fields and as ADIF; both become the same entry so the
// second can be known and left out.
#include "digital/DigitalContacts.h"

#include <cctype>
#include <cstdio>

#include "interchange/AdifImport.h"
#include "interchange/AdifModes.h"
#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

std::optional<int16_t> date_of(const wsjtx::UtcTime& t) {
    if (!t.valid) {
        return std::nullopt;
    }
    const int code = date_code(t.year - 1900, t.month, t.day);
    if (code > kMaxDateCode || code < kMinDateCode) {
        return std::nullopt;
    }
    return static_cast<int16_t>(code);
}

int16_t time_of(const wsjtx::UtcTime& t) {
    char hhmm[8];
    std::snprintf(hhmm, sizeof hhmm, "%02d%02d", t.hour, t.minute);
    return static_cast<int16_t>(time_code_of_text(hhmm));
}

// Only what the field can carry: a power such as "100W" or "100 W" keeps its number.
std::string power_of(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            digits += c;
        } else if (!digits.empty()) {
            break;
        }
    }
    return fit(digits, 5);
}

void add_if_room(std::string& comment, std::string_view piece) {
    const std::string_view text = trim(piece);
    if (text.empty()) {
        return;
    }
    const std::size_t needed = text.size() + (comment.empty() ? 0 : 1);
    if (comment.size() + needed <= 40) {
        comment += comment.empty() ? "" : " ";
        comment += text;
    }
}

bool looks_like_call(std::string_view word) {
    bool digit = false, letter = false;
    for (char c : word) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            letter = true;
        } else if (c != '/') {
            return false;
        }
    }
    return digit && letter && word.size() >= 3 && word.size() <= 12;
}

}  // namespace

std::string digital_log_mode(std::string_view mode) {
    return fit(log_mode_of(to_upper(trim(mode)), ""), 3);
}

std::optional<QsoEntry> logged_entry(const wsjtx::QsoLogged& qso) {
    const std::string call = to_upper(trim(qso.dx_call));
    const wsjtx::UtcTime& on = qso.time_on.valid ? qso.time_on : qso.time_off;
    const wsjtx::UtcTime& off = qso.time_off.valid ? qso.time_off : qso.time_on;
    const auto date = date_of(on);
    if (call.empty() || !date) {
        return std::nullopt;
    }
    QsoEntry e;
    e.date = *date;
    e.time_on = time_of(on);
    e.time_off = time_of(off);
    e.call = fit(call, 12);
    e.rst_sent = fit(trim(qso.report_sent), 7);
    e.rst_received = fit(trim(qso.report_received), 7);
    char megahertz[32];
    std::snprintf(megahertz, sizeof megahertz, "%.6f", static_cast<double>(qso.tx_hz) / 1e6);
    const int band = band_of_frequency(megahertz);
    e.band_field = band_field_of(band <= kBand5MHz ? band : kBandNone);
    e.mode = fit(digital_log_mode(qso.mode), 3);
    e.power = power_of(qso.tx_power);
    std::string comment;
    add_if_room(comment, qso.comments);
    add_if_room(comment, qso.name);
    add_if_room(comment, qso.dx_grid);
    e.comment = fit(comment, 40);
    return e;
}

std::optional<LogRecord> logged_adif_entry(std::string_view adif) {
    ImportBatch batch = parse_adif(adif, "", "");
    if (batch.entries.empty()) {
        return std::nullopt;
    }
    // The band as the logging screens write it, as for the same contact's other report.
    LogRecord record = batch.entries.front();
    const int band = band_of_band_field(record.band_field());
    if (band >= 0 && band <= kBand5MHz) {
        record.set_band_field(band_field_of(band));
    }
    return record;
}

std::string contact_key(const LogRecord& record) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %d %d %d", record.date(), record.time(),
                  band_of_band_field(record.band_field()));
    return std::string(trim_right(base_call(std::string(record.call_field()) + " "))) + stamp;
}

std::optional<std::string> cq_caller(std::string_view message) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < message.size()) {
        const std::size_t start = message.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(message.find(' ', start), message.size());
        words.push_back(message.substr(start, end - start));
        at = end;
    }
    if (words.size() < 2 || (words[0] != "CQ" && words[0] != "QRZ")) {
        return std::nullopt;
    }
    // "CQ DX", "CQ POTA", "CQ 290": a word that is no call names whom the CQ is for.
    for (std::size_t i = 1; i < words.size() && i <= 2; ++i) {
        std::string_view word = words[i];
        if (word.size() > 2 && word.front() == '<' && word.back() == '>') {
            word = word.substr(1, word.size() - 2);
        }
        if (looks_like_call(word)) {
            return std::string(word);
        }
    }
    return std::nullopt;
}

}  // namespace vl
