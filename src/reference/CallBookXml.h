// The answers of the on-line call book: XML with a <QRZDatabase> root holding a <Session>
// (its <Key>, or an <Error> text) and, for a call found, a <Callsign> record. Answers come
// from the network and are untrusted: any bytes give a reply, never a crash.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vl {

// The fields of a record that the program uses, in Windows-1252, each on one line.
struct XmlCallBookRecord {
    std::string call;
    std::string first_name;  // <fname>
    std::string name;        // <name>, the family name
    std::string address1;    // <addr1>, the street
    std::string address2;    // <addr2>, the town
    std::string state;
    std::string country;
};

struct CallBookReply {
    bool readable = false;  // well-formed XML with the call book's root element
    std::string key;        // the session key; empty when the session is not (or no longer) valid
    std::string error;      // the session's error text, if any
    std::optional<XmlCallBookRecord> record;
};

CallBookReply parse_callbook_reply(std::string_view body);
// The same with a given XML reader (XmlEvents.h), so both readers can be held to one table.
class XmlEvents;
using XmlReader = bool (*)(std::string_view document, XmlEvents& events);
CallBookReply parse_callbook_reply(std::string_view body, XmlReader read);

}  // namespace vl
