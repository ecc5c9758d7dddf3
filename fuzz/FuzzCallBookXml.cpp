// Fuzz target: any bytes as the on-line call book's answer, read by expat and by the small
// reader of our own. Reading must not crash, and what it gives is bounded: an unreadable
// answer gives nothing, and no field is longer than the limit a field is cut to.
#include "Fuzz.h"
#include "reference/CallBookXml.h"
#include "reference/OnlineCallBook.h"
#include "reference/XmlEvents.h"

namespace {

void check(const vl::CallBookReply& reply) {
    vl::fuzz::require(reply.readable ||
                      (reply.key.empty() && reply.error.empty() && !reply.record));
    vl::fuzz::require(reply.key.size() <= 256 && reply.error.size() <= 256);
    vl::fuzz::require(!reply.record || vl::name_and_address(*reply.record).size() <= 6 * 257);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(vl::parse_callbook_reply(bytes, vl::read_xml_expat));
    check(vl::parse_callbook_reply(bytes, vl::read_xml_plain));
    return 0;
}
