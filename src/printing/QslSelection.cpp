// The selection of QSL labels and their values.
#include "printing/QslSelection.h"

#include <algorithm>

#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

void remove_every(std::string& text, std::string_view part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
}

// NUL bytes of short fields print as blanks, so every label line keeps its width.
std::string printable(std::string_view field) {
    std::string text(field);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    return text;
}

constexpr std::string_view kPleaseQsl = "Please QSL via Bureau or Direct";

bool has_band(int band) {
    return band >= 0 && band < kBandCount;
}

// "$F$": 20m; empty for no band.
std::string band_label(int band) {
    return has_band(band) ? std::string(kShortBandNames[band]) : "";
}

void set_station_values(LabelValues& values, const BandStation& station) {
    values['I'] = fit(station.transceiver, 12);
    values['J'] = fit(station.antenna, 12);
    values['L'] = fit(station.operator_name, 12);
}

}  // namespace

std::string stripped_call(std::string_view call_field) {
    std::string call = std::string(call_field) + " ";
    remove_every(call, "/M ");
    remove_every(call, "/P ");
    remove_every(call, "/MM ");
    return std::string(trim_right(call));
}

std::string home_key(std::string_view stripped, int date_code) {
    std::size_t letters = 0;
    while (letters < stripped.size() && stripped[letters] > '9') {
        ++letters;
    }
    std::string key;
    for (char c : stripped.substr(letters)) {
        if (c != ' ') {
            key += c;
        }
    }
    return key + std::string(stripped.substr(0, letters)) + std::to_string(date_code + 32000);
}

QslSelection select_qsls(const LogStore& log, CountryList& countries, const QslFilter& filter) {
    QslSelection selection;
    std::array<int, kBandCount> latest_data{};
    int taken = 0;
    for (int number = 1; number <= log.count() && taken < kMaxQslLabels; ++number) {
        const LogRecord& record = log.entry(number);
        std::string_view call = record.call_field();
        if (call.substr(0, 3) == "CQ " || call == kTextCallField) {
            continue;
        }
        if (call == kDataCallField) {
            int16_t band = decode_data(record).band;
            if (band >= 0 && band < kBandCount) {
                latest_data[band] = number;
            }
            continue;
        }
        std::string stripped = stripped_call(call);
        if (!filter.call.empty() && call.find(filter.call) == std::string_view::npos) {
            continue;
        }
        if (leading_number(record.rst_received_field()) < 11) {
            continue;
        }
        if (record.date() < filter.start_code) {
            continue;
        }
        uint8_t flags = record.qsl_flags();
        if ((flags & kQslSentFlag) ||
            ((flags & (kQslSentFlag | kQslReceivedFlag)) == 0 && filter.received_only)) {
            continue;
        }
        int band = band_of_band_field(record.band_field());
        QslItem item;
        item.qso = number;
        item.data = band >= 0 && band < kBandCount ? latest_data[band] : 0;
        if (countries.find(stripped) == 1) {
            item.key = home_key(stripped, record.date());
            selection.home.push_back(std::move(item));
        } else {
            item.key = stripped + std::to_string(record.date() + 32000);
            selection.other.push_back(std::move(item));
        }
        ++taken;
        if (!filter.call.empty()) {
            break;
        }
    }
    auto by_key = [](const QslItem& a, const QslItem& b) { return a.key < b.key; };
    std::stable_sort(selection.home.begin(), selection.home.end(), by_key);
    std::stable_sort(selection.other.begin(), selection.other.end(), by_key);
    return selection;
}

std::string label_call(std::string_view call_field, std::string_view comment) {
    std::string call(trim_right(call_field));
    std::string capitals = to_upper(comment);
    std::size_t via = capitals.find("VIA ");
    if (via != std::string::npos) {
        std::size_t start = via + 4;
        std::size_t end = capitals.find(' ', start);
        call += " via " + capitals.substr(start, end == std::string::npos ? end : end - start);
    }
    return call;
}

std::string label_date(int date_code) {
    DateParts parts = date_parts(date_code);
    std::string_view month =
        parts.month >= 1 && parts.month <= 12 ? kMonthNames[parts.month] : "     ";
    return two_digits(parts.day) + " " + std::string(month.substr(1, 3)) + " " +
           two_digits(parts.year);
}

void set_qso_label_values(LabelValues& values, const LogStore& log, const QslItem& item, bool home,
                          const StationData& station) {
    const LogRecord& record = log.entry(item.qso);
    QsoEntry qso = decode_qso(record);
    int band = band_of_band_field(qso.band_field);
    if (home && band == kBand5MHz) {
        band = 2;
    }
    values['A'] = label_call(printable(qso.call), printable(qso.comment));
    values['B'] = label_date(qso.date);
    values['C'] = time_text(qso.time_on);
    values['D'] = printable(qso.rst_sent);
    values['E'] = printable(qso.mode);
    values['H'] = (qso.qsl_flags & 2) ? "Thanks for your QSL" : std::string(kPleaseQsl);
    values['K'] = printable(qso.power);
    values['F'] = band_label(band);
    if (item.data > 0 && item.data <= log.count()) {
        DataEntry data = decode_data(log.entry(item.data));
        values['I'] = printable(data.transceiver);
        values['J'] = printable(data.antenna);
        values['L'] = printable(data.operator_name);
    } else if (has_band(band)) {
        set_station_values(values, station.bands[band]);
    } else {
        values['I'] = values['J'] = values['L'] = "";
    }
}

void set_on_air_label_values(LabelValues& values, const QsoEntry& qso, int today,
                             std::string_view mode, std::string_view power, int band,
                             const StationData& station) {
    const std::string on = time_text(qso.time_on);
    values['A'] = qso.call;
    values['B'] = label_date(today);
    values['C'] = on.substr(0, 2) + ":" + on.substr(2);
    values['D'] = qso.rst_sent.substr(0, 3);
    values['E'] = mode;
    values['K'] = power;
    values['H'] = kPleaseQsl;
    values['F'] = band_label(band);
    set_station_values(values, has_band(band) ? station.bands[band] : BandStation{});
}

}  // namespace vl
