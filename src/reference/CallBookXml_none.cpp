// Builds without an XML parser (the Windows build): no answer is ever readable, and the
// on-line call book says it is not available.
#include "reference/CallBookXml.h"

namespace vl {

CallBookReply parse_callbook_reply(std::string_view) {
    return {};
}

bool callbook_xml_available() {
    return false;
}

}  // namespace vl
