// The label settings file QSL.DAT and the label template QSL.DTA, with the values that fill
// a label's placeholders. All of it lives for the whole run.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace vl {

inline constexpr std::string_view kLabelSettingsFile = "QSL.DAT";
inline constexpr std::string_view kLabelTemplateFile = "QSL.DTA";

struct LabelSettings {
    int rows = 0;
    int columns = 0;
    int label_width = 0;  // millimetres
    int label_height = 0;
    int left_margin = 0;
    int top_margin = 0;
    std::string pause;          // "Y": pause at every label
    std::string received_only;  // "Y": only QSOs whose QSL was received
    bool operator==(const LabelSettings&) const = default;
};

// Six bytes of numbers, then one character for each text. A file shorter than that gives
// what it holds; rows and columns of 0 become 1.
LabelSettings parse_label_settings(std::string_view bytes);
// The eight bytes as written; a number outside 0..255 is stored as its nearest end, and an
// empty text as a NUL byte.
std::string format_label_settings(const LabelSettings& settings);

struct LabelTemplate {
    std::string part1;
    std::string part2;
    bool two_part = false;
};

// Part 2 begins on the line after "///", whatever ends that line (CR LF or LF).
LabelTemplate split_label_template(std::string_view text);

// The placeholder texts "$A$" to "$M$" ("$G$" is never replaced). A value keeps its last
// text until it is set again.
struct LabelValues {
    std::array<std::string, 13> text;
    std::string& operator[](char letter) { return text[static_cast<std::size_t>(letter - 'A')]; }
    const std::string& operator[](char letter) const {
        return text[static_cast<std::size_t>(letter - 'A')];
    }
};

// A template part with its placeholders replaced ("$B$" to "$F$" only when `contact_too`)
// and each line end turned into "#L".
std::string fill_label_text(std::string_view part, const LabelValues& values, bool contact_too);

struct LabelState {
    LabelSettings settings;
    LabelTemplate layout;
    LabelValues values;
    // On-line logging's single labels: no end-of-sheet prompt.
    bool single_label_mode = false;
};

// Start-up: reads QSL.DAT (created with eight zero bytes when absent) and QSL.DTA (created
// empty when absent).
void load_label_files(platform::FileSystem& files, const std::string& program_dir,
                      LabelState& labels);
// Overwrites QSL.DAT from its start without shortening it; false when it cannot be written.
bool save_label_settings(platform::FileSystem& files, const std::string& program_dir,
                         const LabelSettings& settings);

}  // namespace vl
