// Windows-1252 conversion.
#include "platform/Cp1252.h"

#include <array>
#include <cstdint>

namespace vl::platform {

namespace {

// Code points of bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char byte_of(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c && c != 0) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

std::string utf8_from_cp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text) {
        auto b = static_cast<unsigned char>(byte);
        if (b < 0x80 || b >= 0xA0) {
            append_utf8(out, b);
        } else {
            char32_t c = kHighControls[b - 0x80];
            append_utf8(out, c != 0 ? c : U'?');
        }
    }
    return out;
}

std::string cp1252_from_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            out += '?';  // a stray continuation byte or a cut sequence
            ++i;
            continue;
        }
        char32_t c = length == 1 ? b : b & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        out += valid ? byte_of(c) : '?';
        i += valid ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

}  // namespace vl::platform
