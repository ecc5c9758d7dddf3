// The call book's XML answers, read with the build's XML reader (expat's, or our own where
// the build has no expat). Only the few elements the program uses are kept; element names
// are matched without any namespace prefix. A document type declaration stops the reading
// (the call book sends none), so no entity is ever expanded.
#include "reference/CallBookXml.h"

#include <vector>

#include "platform/Cp1252.h"
#include "reference/XmlEvents.h"

namespace vl {

namespace {

constexpr std::size_t kFieldLimit = 256;  // bytes kept of any one text
constexpr std::size_t kDepthLimit = 64;

std::string_view local_name(std::string_view text) {
    std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

struct Reader final : XmlEvents {
    std::vector<std::string> path;  // element names from the root
    std::string text_of_element;    // of the innermost element
    bool root_seen = false;
    bool wrong_root = false;
    bool record_seen = false;
    CallBookReply reply;
    XmlCallBookRecord record;

    bool start(std::string_view name) override;
    void end() override;
    void text(std::string_view part) override;

    std::string* field(std::string_view parent, std::string_view name) {
        if (parent == "Session") {
            if (name == "Key") {
                return &reply.key;
            }
            if (name == "Error") {
                return &reply.error;
            }
        } else if (parent == "Callsign") {
            static const struct {
                std::string_view name;
                std::string XmlCallBookRecord::*member;
            } kFields[] = {
                {"call", &XmlCallBookRecord::call},      {"fname", &XmlCallBookRecord::first_name},
                {"name", &XmlCallBookRecord::name},      {"addr1", &XmlCallBookRecord::address1},
                {"addr2", &XmlCallBookRecord::address2}, {"state", &XmlCallBookRecord::state},
                {"country", &XmlCallBookRecord::country}};
            for (const auto& f : kFields) {
                if (f.name == name) {
                    return &(record.*f.member);
                }
            }
        }
        return nullptr;
    }
};

bool Reader::start(std::string_view name) {
    std::string_view element = local_name(name);
    if (path.empty()) {
        root_seen = true;
        wrong_root = element != "QRZDatabase";
    }
    if (path.size() == 1 && element == "Callsign") {
        record_seen = true;
    }
    if (path.size() >= kDepthLimit) {
        return false;
    }
    path.emplace_back(element);
    text_of_element.clear();
    return true;
}

void Reader::end() {
    if (path.size() == 3) {
        if (std::string* value = field(path[1], path[2])) {
            *value = text_of_element;
        }
    }
    if (!path.empty()) {
        path.pop_back();
    }
    text_of_element.clear();
}

void Reader::text(std::string_view part) {
    if (path.size() == 3 && !part.empty()) {
        std::size_t room = kFieldLimit - std::min(kFieldLimit, text_of_element.size());
        text_of_element.append(part.substr(0, room));
    }
}

// Windows-1252 on one line: control characters become blanks, runs of blanks one blank.
// A field cut at its limit inside a UTF-8 sequence loses only that character.
std::string tidy(std::string_view utf8) {
    std::string text = platform::cp1252_from_utf8(utf8);
    std::string out;
    for (char c : text) {
        bool blank = static_cast<unsigned char>(c) < 0x20 || c == ' ' || c == '\x7F';
        if (blank) {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

}  // namespace

CallBookReply parse_callbook_reply(std::string_view body) {
    return parse_callbook_reply(body, system_xml_reader());
}

CallBookReply parse_callbook_reply(std::string_view body, XmlReader read) {
    Reader reader;
    if (!read(body, reader) || !reader.root_seen || reader.wrong_root) {
        return {};
    }
    CallBookReply reply;
    reply.readable = true;
    reply.key = tidy(reader.reply.key);
    reply.error = tidy(reader.reply.error);
    if (reader.record_seen) {
        XmlCallBookRecord& r = reply.record.emplace();
        r.call = tidy(reader.record.call);
        r.first_name = tidy(reader.record.first_name);
        r.name = tidy(reader.record.name);
        r.address1 = tidy(reader.record.address1);
        r.address2 = tidy(reader.record.address2);
        r.state = tidy(reader.record.state);
        r.country = tidy(reader.record.country);
    }
    return reply;
}

}  // namespace vl
