// Builds without an XML parser (the Windows build, which has no web client either): no
// answer is ever readable.
#include "reference/CallBookXml.h"

namespace vl {

CallBookReply parse_callbook_reply(std::string_view) {
    return {};
}

}  // namespace vl
