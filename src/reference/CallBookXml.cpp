// The call book's XML answers, read with expat. Only the few elements the program uses
// are kept; element names are matched without any namespace prefix. A document type
// declaration stops the parse (the call book sends none), so no entity is ever expanded.
#include "reference/CallBookXml.h"

#include <expat.h>

#include <limits>
#include <memory>
#include <vector>

#include "platform/Cp1252.h"

namespace vl {

namespace {

constexpr std::size_t kFieldLimit = 256;  // bytes kept of any one text
constexpr std::size_t kDepthLimit = 64;

std::string_view local_name(const XML_Char* name) {
    std::string_view text(name);
    std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

struct Reader {
    XML_Parser parser = nullptr;
    std::vector<std::string> path;  // element names from the root
    std::string text;               // of the innermost element
    bool root_seen = false;
    bool wrong_root = false;
    bool record_seen = false;
    CallBookReply reply;
    XmlCallBookRecord record;

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

void XMLCALL on_start(void* user, const XML_Char* name, const XML_Char**) {
    auto* reader = static_cast<Reader*>(user);
    std::string_view element = local_name(name);
    if (reader->path.empty()) {
        reader->root_seen = true;
        reader->wrong_root = element != "QRZDatabase";
    }
    if (reader->path.size() == 1 && element == "Callsign") {
        reader->record_seen = true;
    }
    if (reader->path.size() >= kDepthLimit) {
        XML_StopParser(reader->parser, XML_FALSE);
        return;
    }
    reader->path.emplace_back(element);
    reader->text.clear();
}

void XMLCALL on_end(void* user, const XML_Char*) {
    auto* reader = static_cast<Reader*>(user);
    if (reader->path.size() == 3) {
        if (std::string* value = reader->field(reader->path[1], reader->path[2])) {
            *value = reader->text;
        }
    }
    if (!reader->path.empty()) {
        reader->path.pop_back();
    }
    reader->text.clear();
}

void XMLCALL on_text(void* user, const XML_Char* text, int length) {
    auto* reader = static_cast<Reader*>(user);
    if (reader->path.size() == 3 && length > 0) {
        std::size_t room = kFieldLimit - std::min(kFieldLimit, reader->text.size());
        reader->text.append(text, std::min(room, static_cast<std::size_t>(length)));
    }
}

void XMLCALL on_doctype(void* user, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    XML_StopParser(static_cast<Reader*>(user)->parser, XML_FALSE);
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

bool callbook_xml_available() {
    return true;
}

CallBookReply parse_callbook_reply(std::string_view body) {
    if (body.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    if (!parser) {
        return {};
    }
    Reader reader;
    reader.parser = parser.get();
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), on_start, on_end);
    XML_SetCharacterDataHandler(parser.get(), on_text);
    XML_SetStartDoctypeDeclHandler(parser.get(), on_doctype);
    if (XML_Parse(parser.get(), body.data(), static_cast<int>(body.size()), XML_TRUE) !=
            XML_STATUS_OK ||
        !reader.root_seen || reader.wrong_root) {
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
