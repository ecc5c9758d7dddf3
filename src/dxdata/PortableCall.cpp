// Portable call signs: which part of "A/B" or "A/B/C" names the country.
//
// A part before or after the operator's own call that is a prefix form (one to four letters
// and digits with at least one letter) names the country the station works from. Not prefix
// forms: the words that say how or where a station works rather than in which country (P, M,
// QRP, A, B, LH, YL, R and the like), and digits alone (a call area, which never moves a call
// to another country). A part written after the call with a digit in it is a prefix form
// (/EA8, /KH6, /W4); without a digit it is one only when the country file lists it as a
// prefix (/GM, /F, /DL), since letters alone there more often mark an activity (/SOTA).
#include "dxdata/PortableCall.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vl {

namespace {

bool call_character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool prefix_form(std::string_view part, bool before_call, const PrefixTable* known) {
    // Portable, mobile, low power, second address, second station, lighthouse, operator's
    // gender, rover or repeater, light-vessel, satellite, beacon: none is a place, though
    // several spell a prefix (R is Russia, YL Latvia, M England).
    static constexpr std::array<std::string_view, 16> kNotPrefixes = {
        "P", "M", "QRP", "QRPP", "A",   "B",  "LH", "YL",
        "R", "J", "LGT", "SAT",  "BCN", "PM", "AG", "AE"};
    if (part.empty() || part.size() > 4) {
        return false;
    }
    for (std::string_view word : kNotPrefixes) {
        if (part == word) {
            return false;
        }
    }
    bool letter = false;
    bool digit = false;
    for (char c : part) {
        letter = letter || (c >= 'A' && c <= 'Z');
        digit = digit || (c >= '0' && c <= '9');
    }
    if (!letter) {
        return false;
    }
    if (before_call || digit) {
        return true;
    }
    return known != nullptr && known->find(part) != known->end();
}

}  // namespace

CallParts call_parts(std::string_view call, const PrefixTable* known) {
    std::string_view text = call;
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    const CallParts whole{false, call, call};
    if (text.find('/') == std::string_view::npos) {
        return whole;
    }
    // Looked up for every entry Log Check reads, so the parts stay on the stack.
    std::array<std::string_view, 4> parts;
    std::size_t part_count = 0;
    for (std::size_t start = 0;;) {
        std::size_t slash = text.find('/', start);
        if (part_count == parts.size()) {
            return whole;
        }
        parts[part_count++] = text.substr(start, slash - start);
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    for (std::size_t i = 0; i < part_count; ++i) {
        // "/DATA" entries, a trailing "/" or odd bytes: not a call with a portable part.
        if (parts[i].empty() || !std::all_of(parts[i].begin(), parts[i].end(), call_character)) {
            return whole;
        }
    }
    // The operator's own call is the longest part; of two as long, the later one, since a
    // country prefix is written before the call ("KH8S/K3UY").
    std::size_t home = 0;
    for (std::size_t i = 1; i < part_count; ++i) {
        if (parts[i].size() >= parts[home].size()) {
            home = i;
        }
    }
    std::optional<std::string_view> prefix;
    for (std::size_t i = home + 1; i < part_count; ++i) {
        if (parts[i] == "MM" || parts[i] == "AM") {
            return {true, {}, {}};  // at sea or in the air; "MM/DL2HS" is in Scotland
        }
    }
    for (std::size_t i = 0; i < part_count; ++i) {
        if (i != home && prefix_form(parts[i], i < home, known) &&
            (!prefix || parts[i].size() < prefix->size())) {
            prefix = parts[i];
        }
    }
    return {false, prefix ? *prefix : parts[home], parts[home]};
}

}  // namespace vl
