// HAMLIB.TXT read line by line; unknown keys and bad ports are passed over.
#include "hamlib/HamlibSettings.h"

#include <algorithm>
#include <charconv>

namespace vl::hamlib {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return result;
}

// "host:port", "host" or ":port"; a port that is no number from 1 to 65535 keeps the default.
void read_address(std::string_view value, Address& address) {
    const std::size_t colon = value.rfind(':');
    std::string_view host = value;
    if (colon != std::string_view::npos && value.find(':') == colon) {
        host = value.substr(0, colon);
        const std::string_view port = value.substr(colon + 1);
        int number = 0;
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (error == std::errc() && end == port.data() + port.size() && number > 0 &&
            number <= 65535) {
            address.port = number;
        }
    }
    if (!host.empty()) {
        address.host = std::string(host);
    }
}

}  // namespace

Settings parse_settings(std::string_view text) {
    Settings settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string key = lower(trimmed(line.substr(0, equals)));
        const std::string_view value = trimmed(line.substr(equals + 1));
        const bool rotator = key.starts_with("rotator");
        if (!rotator && !key.starts_with("rig")) {
            continue;
        }
        std::optional<Daemon>& daemon = rotator ? settings.rotator : settings.rig;
        const std::string_view field = trimmed(std::string_view(key).substr(rotator ? 7 : 3));
        if (!field.empty() && field != "model" && field != "device" && field != "speed") {
            continue;
        }
        if (!daemon) {
            daemon.emplace();
            daemon->address.port = rotator ? kRotatorPort : kRigPort;
        }
        if (field.empty()) {
            read_address(value, daemon->address);
        } else if (field == "model") {
            daemon->model = std::string(value);
        } else if (field == "device") {
            daemon->device = std::string(value);
        } else if (field == "speed") {
            daemon->speed = std::string(value);
        }
    }
    return settings;
}

}  // namespace vl::hamlib
