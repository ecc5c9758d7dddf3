// The journal.
#include "platform/headless/Journal.h"

#include <cstdio>

namespace vl::headless {

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Journal::text() const {
    std::string all;
    for (const std::string& line : m_lines) {
        all += line;
        all += '\n';
    }
    return all;
}

}  // namespace vl::headless
