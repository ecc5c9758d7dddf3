// QSL.DAT and QSL.DTA.
#include "printing/LabelFiles.h"

#include <algorithm>

namespace vl {

namespace {

constexpr uint64_t kTemplateLimit = 1 << 20;  // far more than any label holds

int byte_at(std::string_view bytes, std::size_t offset) {
    return offset < bytes.size() ? static_cast<unsigned char>(bytes[offset]) : 0;
}

std::string text_at(std::string_view bytes, std::size_t offset) {
    // A NUL byte is a text never typed.
    if (offset >= bytes.size() || bytes[offset] == '\0') {
        return "";
    }
    return std::string(1, bytes[offset]);
}

char byte_of(int value) {
    return static_cast<char>(std::clamp(value, 0, 255));
}

}  // namespace

LabelSettings parse_label_settings(std::string_view bytes) {
    LabelSettings s;
    s.rows = std::max(byte_at(bytes, 0), 1);
    s.columns = std::max(byte_at(bytes, 1), 1);
    s.label_width = byte_at(bytes, 2);
    s.label_height = byte_at(bytes, 3);
    s.left_margin = byte_at(bytes, 4);
    s.top_margin = byte_at(bytes, 5);
    s.pause = text_at(bytes, 6);
    s.received_only = text_at(bytes, 7);
    return s;
}

std::string format_label_settings(const LabelSettings& s) {
    std::string bytes = {byte_of(s.rows),         byte_of(s.columns),     byte_of(s.label_width),
                         byte_of(s.label_height), byte_of(s.left_margin), byte_of(s.top_margin)};
    bytes += s.pause.empty() ? '\0' : s.pause[0];
    bytes += s.received_only.empty() ? '\0' : s.received_only[0];
    return bytes;
}

LabelTemplate split_label_template(std::string_view text) {
    LabelTemplate layout;
    std::size_t mark = text.find("///");
    if (mark == std::string_view::npos) {
        layout.part1 = text;
        return layout;
    }
    layout.part1 = text.substr(0, mark);
    std::size_t line_end = text.find('\n', mark);
    layout.part2 = line_end == std::string_view::npos ? "" : text.substr(line_end + 1);
    layout.two_part = true;
    return layout;
}

std::string fill_label_text(std::string_view part, const LabelValues& values, bool contact_too) {
    std::string out;
    out.reserve(part.size() + 64);
    for (std::size_t i = 0; i < part.size(); ++i) {
        char c = part[i];
        if (c == '$' && i + 2 < part.size() && part[i + 2] == '$') {
            char letter = part[i + 1];
            bool always = letter == 'A' || (letter >= 'H' && letter <= 'M');
            bool contact = letter >= 'B' && letter <= 'F';
            if (always || (contact && contact_too)) {
                out += values[letter];
                i += 2;
                continue;
            }
        }
        // A line ends in CR LF, or LF alone in a template edited on Linux.
        if (c == '\r' && i + 1 < part.size() && part[i + 1] == '\n') {
            out += "#L";
            ++i;
            continue;
        }
        if (c == '\n') {
            out += "#L";
            continue;
        }
        out += c;
    }
    return out;
}

void load_label_files(platform::FileSystem& files, const std::string& program_dir,
                      LabelState& labels) {
    const std::string settings_path = program_dir + std::string(kLabelSettingsFile);
    if (!files.exists(settings_path)) {
        platform::write_whole_file(files, settings_path, std::string(8, '\0'));
    } else if (auto bytes = platform::read_whole_file(files, settings_path, 4096)) {
        labels.settings = parse_label_settings(*bytes);
    }
    const std::string template_path = program_dir + std::string(kLabelTemplateFile);
    if (!files.exists(template_path)) {
        platform::write_whole_file(files, template_path, "");
    } else if (auto text = platform::read_whole_file(files, template_path, kTemplateLimit)) {
        labels.layout = split_label_template(*text);
    }
}

bool save_label_settings(platform::FileSystem& files, const std::string& program_dir,
                         const LabelSettings& settings) {
    auto file =
        files.open(program_dir + std::string(kLabelSettingsFile), platform::OpenMode::ReadWrite);
    std::string bytes = format_label_settings(settings);
    return file && file->write_at(0, bytes.data(), bytes.size()) && file->flush();
}

}  // namespace vl
