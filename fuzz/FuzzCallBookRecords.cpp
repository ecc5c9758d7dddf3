// Fuzz target: any bytes a call-book library may leave in its record buffer, decoded both as
// a tagged and as a coded record. Decoding must not read outside the bytes, and no text it
// gives can be longer than the record.
#include <span>

#include "Fuzz.h"
#include "reference/CallBookRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> record(data, size);
    for (const vl::CallBookRecord& decoded :
         {vl::decode_tagged_record(record), vl::decode_coded_record(record)}) {
        // The name and address each add at most one blank a field to the record's bytes.
        vl::fuzz::require(decoded.name.size() <= 2 * size && decoded.address.size() <= 3 * size);
        for (const std::string& slot : decoded.slots) {
            vl::fuzz::require(slot.size() <= size);
        }
        for (char c : vl::comment_text(decoded)) {
            vl::fuzz::require(static_cast<unsigned char>(c) >= 32);
        }
    }
    return 0;
}
