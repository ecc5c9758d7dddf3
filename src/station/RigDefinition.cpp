// Rig definition files.
#include "station/RigDefinition.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "logstore/Text.h"

namespace vl {

namespace {

void split_port(RigDefinition& rig) {
    const std::string& first = rig.lines[0];
    std::size_t colon = first.find(':');
    rig.port = first.substr(0, colon);
    double speed =
        colon == std::string::npos ? 0 : leading_number(std::string_view(first).substr(colon + 1));
    rig.speed = speed > 0 && speed < 10000000 ? static_cast<int>(std::nearbyint(speed)) : 0;
}

}  // namespace

void RigDefinition::set_port_and_speed(std::string_view new_port, std::string_view speed_text) {
    const std::string& old = lines[0];
    std::string tail = old.size() >= 6 ? old.substr(old.size() - 6) : old;
    lines[0] = std::string(new_port) + ":" + std::string(speed_text) + tail;
    split_port(*this);
}

std::optional<RigDefinition> find_rig_definition(platform::FileSystem& fs,
                                                 const std::string& folder) {
    // In name order without regard to case, as a Windows folder lists them.
    std::vector<std::string> names = fs.list_folder(folder);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return to_upper(a) < to_upper(b);
    });
    for (const std::string& name : names) {
        std::string upper = to_upper(name);
        if (upper.size() <= 4 || upper.substr(upper.size() - 4) != ".RIG") {
            continue;
        }
        RigDefinition rig;
        rig.name = upper;
        rig.path = folder + name;
        // A definition is six short lines; a large file is not one.
        auto text = platform::read_whole_file(fs, rig.path, 64 * 1024);
        rig.unreadable = !text;
        std::string_view rest = text ? std::string_view(*text) : std::string_view();
        for (std::string& line : rig.lines) {
            line = take_line(rest);
        }
        split_port(rig);
        return rig;
    }
    return std::nullopt;
}

bool save_rig_definition(platform::FileSystem& fs, const RigDefinition& rig) {
    if (rig.unreadable) {
        return false;  // its lines were never read, and would be replaced by empty ones
    }
    std::string text;
    for (const std::string& line : rig.lines) {
        text += line + "\r\n";
    }
    return platform::replace_file(fs, rig.path, text);
}

}  // namespace vl
