// The log in words, and its searches.
#include "logging/LogReading.h"

#include <algorithm>
#include <cstring>

#include "logging/EntryRules.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

std::string megahertz_spoken(std::string text) {
    for (std::size_t at = text.find("MHz"); at != std::string::npos; at = text.find("MHz", at)) {
        text.replace(at, 3, " Megahertz");
    }
    return text;
}

std::string power_phrase(std::string_view field) {
    std::string power;
    for (char c : to_upper(field)) {
        power += c == 'W' ? std::string(" watts") : std::string(1, c);
    }
    if (power.find('w') == std::string::npos) {
        power += " watts";
    }
    return std::string(trim_right(power));
}

std::string_view qsl_phrase(unsigned flags) {
    static constexpr std::string_view kPhrases[] = {"No QSL, ", "QSL sent, ", "Got QSL, ",
                                                    "QSL got and sent, "};
    return kPhrases[flags & 3u];
}

}  // namespace

std::string spoken_time(int time_code) {
    std::string text = time_text(time_code);
    std::string hours = text.substr(0, 2), minutes = text.substr(text.size() - 2);
    std::string words = leading_number(hours) == 0 ? "00 " : spoken_number(hours) + " ";
    return words + spoken_number(minutes);
}

namespace {

// A field as it is read out: an empty field holds zero bytes, which are blanks to the
// listener and would end the text at the first one in a Windows box.
std::string spoken_field(std::string_view field) {
    std::string text(field);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

}  // namespace

std::string entry_summary(const LogRecord& r, int number, int date_format,
                          const std::array<std::string, 15>& frequency_names) {
    std::string text = "Entry" + plain_number(number) + ", " + spoken_date(r.date(), date_format);
    switch (entry_kind(r)) {
        case EntryKind::Qso: {
            for (char c : trim_right(r.call_field())) {
                text += ' ';
                text += c;
            }
            // An entry imported without a band or mode says so, not an empty pause.
            const std::string frequency(trim_right(megahertz_spoken(
                frequency_name(frequency_names, band_of_band_field(r.band_field())))));
            const std::string mode = spoken_field(r.mode_field());
            text += ", at " + spoken_time(r.time()) + " on ";
            text += frequency.empty() ? std::string("no band") : frequency;
            text += ", " + (trim(mode).empty() ? std::string("no mode") : mode) + ", ";
            text += power_phrase(r.power_field()) + ", ";
            text += qsl_phrase(r.qsl_flags());
            text += spoken_field(r.comment_field());
            return text;
        }
        case EntryKind::Data: {
            DataEntry e = decode_data(r);
            return text + " at " + spoken_time(e.time) + ", " + " Operator is " + e.operator_name +
                   ", " + "Rig is " + e.transceiver + ", " + "Antenna is " + e.antenna + ", " +
                   "Band is " + megahertz_spoken(frequency_name(frequency_names, e.band));
        }
        case EntryKind::Text:
            return text + " at " + spoken_time(r.time()) + ", " + spoken_field(r.text_field());
    }
    return text;
}

namespace {

char fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Whether `field`, with its small letters read as capitals, holds `wanted` (in capitals).
// It runs on every entry of a long log, so nothing is copied and most places are left at
// their first letter.
bool contains_folded(std::string_view field, std::string_view wanted) {
    if (wanted.size() > field.size()) {
        return false;
    }
    const char first = wanted.front();
    for (std::size_t at = 0; at + wanted.size() <= field.size(); ++at) {
        if (fold(field[at]) != first) {
            continue;
        }
        std::size_t k = 1;
        while (k < wanted.size() && fold(field[at + k]) == wanted[k]) {
            ++k;
        }
        if (k == wanted.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace

int search_log(const LogStore& log, SearchField field, std::string_view text, int from,
               bool forward) {
    if (text.empty()) {
        return 0;
    }
    const std::string wanted = field == SearchField::Comment ? to_upper(text) : std::string(text);
    auto matches = [&](int i) {
        const LogRecord& r = log.entry(i);
        if (field == SearchField::CallSign) {
            return r.call_field().find(wanted) != std::string_view::npos;
        }
        if (!r.is_qso()) {
            return false;
        }
        return contains_folded(r.comment_field(), wanted);
    };
    if (forward) {
        for (int i = std::max(from, 0) + 1; i <= log.count(); ++i) {
            if (matches(i)) {
                return i;
            }
        }
    } else {
        for (int i = std::min(from, log.count() + 1) - 1; i >= 1; --i) {
            if (matches(i)) {
                return i;
            }
        }
    }
    return 0;
}

int first_entry_from(const LogStore& log, int16_t date_code) {
    for (int i = 1; i < log.count(); ++i) {
        if (log.date_slot(i) >= date_code) {
            return i;
        }
    }
    return log.count();
}

}  // namespace vl
