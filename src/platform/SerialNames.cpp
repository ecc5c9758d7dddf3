// Port names: the operator writes "COM1" as on any system; here it becomes a device path.
#include <charconv>
#include <string>
#include <string_view>

#include "platform/Serial.h"

namespace vl::platform {
namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole positive number, or 0 when the text is anything else.
int port_number(std::string_view text) {
    int number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < 1) {
        return 0;
    }
    return number;
}

}  // namespace

std::string serial_device_path(std::string_view setting, std::string_view port_table) {
    setting = trim(setting);
    if (!setting.empty() && setting.front() == '/') {
        return std::string(setting);
    }
    if (setting.size() >= 3 && (setting[0] == 'C' || setting[0] == 'c') &&
        (setting[1] == 'O' || setting[1] == 'o') && (setting[2] == 'M' || setting[2] == 'm')) {
        setting.remove_prefix(3);
    }
    const int number = port_number(trim(setting));
    if (number == 0) {
        return {};
    }
    while (!port_table.empty()) {
        const std::size_t end = port_table.find('\n');
        const std::string_view line = trim(port_table.substr(0, end));
        port_table =
            end == std::string_view::npos ? std::string_view{} : port_table.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            port_number(trim(line.substr(0, equals))) != number) {
            continue;
        }
        const std::string_view device = trim(line.substr(equals + 1));
        if (!device.empty()) {
            return std::string(device);
        }
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace vl::platform
