// Key-script parsing.
#include "platform/headless/Script.h"

#include <cstdio>

namespace vl::headless {

namespace {

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        result.push_back(text.substr(start, end - start));
        at = end;
    }
    return result;
}

[[noreturn]] void fail(int line, const std::string& what) {
    throw ScriptError("script line " + std::to_string(line) + ": " + what);
}

int parse_count(std::string_view text, int line) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 1000000) {
            fail(line, "expected a number, found \"" + std::string(text) + "\"");
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

ScriptEvent parse_clock(const std::vector<std::string_view>& w, int line) {
    ScriptEvent event;
    event.kind = ScriptEvent::Kind::Clock;
    event.line = line;
    platform::DateTime& t = event.time;
    if (w.size() < 3 ||
        std::sscanf(std::string(w[1]).c_str(), "%4d-%2d-%2d", &t.year, &t.month, &t.day) != 3 ||
        std::sscanf(std::string(w[2]).c_str(), "%2d:%2d:%2d", &t.hour, &t.minute, &t.second) != 3 ||
        t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 59) {
        fail(line, "expected: clock YYYY-MM-DD HH:MM:SS [+HH:MM]");
    }
    if (w.size() > 3) {
        int hours = 0, minutes = 0;
        char sign = w[3].empty() ? '?' : w[3][0];
        if ((sign != '+' && sign != '-') ||
            std::sscanf(std::string(w[3].substr(1)).c_str(), "%2d:%2d", &hours, &minutes) != 2) {
            fail(line, "expected a local offset such as +01:00");
        }
        event.local_offset_minutes = (sign == '-' ? -1 : 1) * (hours * 60 + minutes);
    }
    return event;
}

}  // namespace

std::vector<ScriptEvent> parse_script(std::string_view text) {
    std::vector<ScriptEvent> events;
    int line_number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++line_number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        auto w = words(line);
        if (w.empty() || w[0].front() == '#') {
            continue;
        }
        ScriptEvent event;
        event.line = line_number;
        if (w[0] == "key") {
            if (w.size() < 2) {
                fail(line_number, "key needs at least one key name");
            }
            for (std::size_t i = 1; i < w.size(); ++i) {
                auto chord = platform::parse_key_chord(w[i]);
                if (!chord) {
                    fail(line_number, "unknown key \"" + std::string(w[i]) + "\"");
                }
                event.kind = ScriptEvent::Kind::Key;
                event.chord = *chord;
                events.push_back(event);
            }
        } else if (w[0] == "type") {
            // Everything after "type " is typed, blanks included.
            std::size_t at = line.find("type") + 4;
            event.kind = ScriptEvent::Kind::Type;
            event.text = at < line.size() ? std::string(line.substr(at + 1)) : std::string();
            events.push_back(event);
        } else if (w[0] == "answer" && w.size() == 2) {
            event.kind = ScriptEvent::Kind::Answer;
            if (w[1] == "ok") {
                event.answer = platform::Answer::Ok;
            } else if (w[1] == "yes") {
                event.answer = platform::Answer::Yes;
            } else if (w[1] == "no") {
                event.answer = platform::Answer::No;
            } else {
                fail(line_number, "answer must be ok, yes or no");
            }
            events.push_back(event);
        } else if (w[0] == "doubleclick" && w.size() == 1) {
            event.kind = ScriptEvent::Kind::DoubleClick;
            events.push_back(event);
        } else if (w[0] == "tick" && w.size() <= 2) {
            event.kind = ScriptEvent::Kind::Tick;
            event.count = w.size() == 2 ? parse_count(w[1], line_number) : 1;
            events.push_back(event);
        } else if (w[0] == "wait" && w.size() == 2) {
            event.kind = ScriptEvent::Kind::Wait;
            event.count = parse_count(w[1], line_number);
            events.push_back(event);
        } else if (w[0] == "clock") {
            events.push_back(parse_clock(w, line_number));
        } else {
            fail(line_number, "unknown event \"" + std::string(line) + "\"");
        }
    }
    return events;
}

}  // namespace vl::headless
