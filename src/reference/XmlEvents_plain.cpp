// A small XML reader of our own for builds without expat: elements, attributes (read and
// passed over), text with the five named and the numeric character references, CDATA,
// comments and processing instructions. Anything else (a document type, a second root,
// an unknown reference, bytes that are not UTF-8 or not XML characters) ends the reading
// as not well-formed.
#include <string>
#include <vector>

#include "reference/XmlEvents.h"

namespace vl {

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool is_name_char(char c) {
    return !is_space(c) && c != '<' && c != '>' && c != '/' && c != '=' && c != '&' && c != '"' &&
           c != '\'' && c != '\0';
}

// Well-formed UTF-8 of characters XML allows (no controls but tab, CR and LF).
bool valid_text(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') {
                return false;
            }
            ++i;
            continue;
        }
        std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
        if (length == 0 || byte > 0xF4 || i + length > text.size()) {
            return false;
        }
        unsigned long code = byte & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0xFFFE || code == 0xFFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

void append_utf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text of `raw` with its references replaced; false for an unknown or bad one.
bool resolve(std::string_view raw, std::string& out) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&') {
            out += raw[i];
            continue;
        }
        const std::size_t semicolon = raw.find(';', i);
        if (semicolon == std::string_view::npos) {
            return false;
        }
        const std::string_view name = raw.substr(i + 1, semicolon - i - 1);
        i = semicolon;
        static const struct {
            std::string_view name;
            char c;
        } kNamed[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        bool known = false;
        for (const auto& entity : kNamed) {
            if (name == entity.name) {
                out += entity.c;
                known = true;
            }
        }
        if (known) {
            continue;
        }
        if (name.size() < 2 || name[0] != '#') {
            return false;
        }
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) {
            return false;
        }
        unsigned long code = 0;
        for (char d : digits) {
            int value = d >= '0' && d <= '9'          ? d - '0'
                        : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                        : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                      : -1;
            if (value < 0) {
                return false;
            }
            code = code * (hex ? 16 : 10) + static_cast<unsigned long>(value);
        }
        if (code > 0x10FFFF || (code < 0x20 && code != 9 && code != 10 && code != 13) ||
            (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF) {
            return false;
        }
        append_utf8(out, code);
    }
    return true;
}

class Reader {
public:
    Reader(std::string_view document, XmlEvents& events) : m_text(document), m_events(events) {}

    bool read() {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
            m_text.remove_prefix(3);
        }
        if (!valid_text(m_text)) {
            return false;
        }
        bool root_done = false;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c != '<') {
                if (m_open.empty()) {
                    if (!is_space(c)) {
                        return false;  // text outside the root element
                    }
                    ++m_at;
                    continue;
                }
                if (!read_text()) {
                    return false;
                }
                continue;
            }
            if (starts("<?")) {
                if (!skip_past("?>")) {
                    return false;
                }
            } else if (starts("<!--")) {
                if (!skip_past("-->")) {
                    return false;
                }
            } else if (starts("<![CDATA[")) {
                if (m_open.empty()) {
                    return false;
                }
                const std::size_t begin = m_at + 9;
                const std::size_t end = m_text.find("]]>", begin);
                if (end == std::string_view::npos) {
                    return false;
                }
                if (end > begin) {
                    m_events.text(m_text.substr(begin, end - begin));
                }
                m_at = end + 3;
            } else if (starts("<!")) {
                return false;  // a document type, or markup no answer has
            } else if (starts("</")) {
                if (!read_end()) {
                    return false;
                }
                root_done = m_open.empty();
            } else {
                if (root_done && m_open.empty()) {
                    return false;  // a second root element
                }
                if (!read_start()) {
                    return false;
                }
                root_done = m_open.empty();
            }
        }
        return root_done && m_open.empty();
    }

private:
    bool starts(std::string_view prefix) const {
        return m_text.substr(m_at, prefix.size()) == prefix;
    }

    bool skip_past(std::string_view end) {
        const std::size_t found = m_text.find(end, m_at + 2);
        if (found == std::string_view::npos) {
            return false;
        }
        m_at = found + end.size();
        return true;
    }

    std::string_view read_name() {
        const std::size_t begin = m_at;
        while (m_at < m_text.size() && is_name_char(m_text[m_at])) {
            ++m_at;
        }
        return m_text.substr(begin, m_at - begin);
    }

    void skip_spaces() {
        while (m_at < m_text.size() && is_space(m_text[m_at])) {
            ++m_at;
        }
    }

    bool read_start() {
        ++m_at;  // '<'
        const std::string_view name = read_name();
        if (name.empty()) {
            return false;
        }
        // Attributes: name = "value", read for well-formedness and passed over.
        while (true) {
            const bool spaced = m_at < m_text.size() && is_space(m_text[m_at]);
            skip_spaces();
            if (m_at >= m_text.size()) {
                return false;
            }
            if (m_text[m_at] == '>' || starts("/>")) {
                break;
            }
            if (!spaced || read_name().empty()) {
                return false;
            }
            skip_spaces();
            if (m_at >= m_text.size() || m_text[m_at] != '=') {
                return false;
            }
            ++m_at;
            skip_spaces();
            if (m_at >= m_text.size() || (m_text[m_at] != '"' && m_text[m_at] != '\'')) {
                return false;
            }
            const char quote = m_text[m_at++];
            const std::size_t end = m_text.find(quote, m_at);
            if (end == std::string_view::npos) {
                return false;
            }
            std::string value;
            const std::string_view raw = m_text.substr(m_at, end - m_at);
            if (raw.find('<') != std::string_view::npos || !resolve(raw, value)) {
                return false;
            }
            m_at = end + 1;
        }
        if (!m_events.start(name)) {
            return false;
        }
        if (starts("/>")) {
            m_at += 2;
            m_events.end();
            return true;
        }
        ++m_at;  // '>'
        m_open.emplace_back(name);
        return true;
    }

    bool read_end() {
        m_at += 2;  // "</"
        const std::string_view name = read_name();
        skip_spaces();
        if (m_open.empty() || name != m_open.back() || m_at >= m_text.size() ||
            m_text[m_at] != '>') {
            return false;
        }
        ++m_at;
        m_open.pop_back();
        m_events.end();
        return true;
    }

    bool read_text() {
        const std::size_t end = m_text.find('<', m_at);
        const std::string_view raw = m_text.substr(
            m_at, end == std::string_view::npos ? std::string_view::npos : end - m_at);
        std::string resolved;
        if (!resolve(raw, resolved)) {
            return false;
        }
        m_at += raw.size();
        m_events.text(resolved);
        return true;
    }

    std::string_view m_text;
    XmlEvents& m_events;
    std::size_t m_at = 0;
    std::vector<std::string> m_open;  // names of the elements open, outermost first
};

}  // namespace

bool read_xml_plain(std::string_view document, XmlEvents& events) {
    Reader reader(document, events);
    return reader.read();
}

}  // namespace vl

#ifndef VARROW_HAS_EXPAT
namespace vl {

XmlReader system_xml_reader() {
    return read_xml_plain;
}

}  // namespace vl
#endif
