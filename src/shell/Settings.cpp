// DBNAMES.TXT.
#include "shell/Settings.h"

#include <cmath>
#include <vector>

#include "logstore/Text.h"

namespace vl {

namespace {

std::vector<std::string> text_lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        lines.emplace_back(take_line(text));
    }
    return lines;
}

}  // namespace

Settings parse_settings(std::string_view text) {
    std::vector<std::string> lines = text_lines(text);
    lines.resize(16);
    Settings s;
    for (std::size_t i = 0; i < 10; ++i) {
        s.database_names[i] = lines[i];
    }
    s.latitude = lines[10];
    s.longitude = lines[11];
    s.backup_drive = lines[12];
    s.rotator_port = lines[13];
    s.callbook_drive = lines[14];
    double choice = std::nearbyint(leading_number(lines[15]));
    // Only the five choices exist; anything else is no call book.
    s.callbook_choice = choice >= 0 && choice <= kOnlineCallBook ? static_cast<int>(choice) : 0;
    return s;
}

std::string format_settings(const Settings& s) {
    std::string text;
    for (const std::string& name : s.database_names) {
        text += name + "\r\n";
    }
    for (const std::string* value :
         {&s.latitude, &s.longitude, &s.backup_drive, &s.rotator_port, &s.callbook_drive}) {
        text += *value + "\r\n";
    }
    // A number written by the plain conversion, with its leading blank.
    text += plain_number(s.callbook_choice) + "\r\n";
    return text;
}

}  // namespace vl
