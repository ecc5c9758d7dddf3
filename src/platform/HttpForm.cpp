// Form values for the web services' requests.
#include <cstdio>

#include "platform/Cp1252.h"
#include "platform/Http.h"

namespace vl::platform {

std::string form_value(std::string_view cp1252) {
    std::string out;
    for (char c : utf8_from_cp1252(cp1252)) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}

}  // namespace vl::platform
