// Fuzz target: any bytes as an ADIF file. Reading must not crash, must give the same entries
// whether the bytes come whole or in small blocks, and every entry must be a QSO entry whose
// date the log's date codes hold.
#include "Fuzz.h"
#include "interchange/AdifImport.h"
#include "logstore/Dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    vl::ImportBatch whole = vl::parse_adif(input, "100", "fuzz");
    vl::AdifReader reader("100", "fuzz");
    const std::size_t block = 1 + size % 7;
    for (std::size_t at = 0; at < size; at += block) {
        reader.feed(input.substr(at, block));
    }
    vl::ImportBatch pieces = reader.finish();
    vl::fuzz::require(pieces.entries == whole.entries &&
                      pieces.skipped_no_call == whole.skipped_no_call &&
                      pieces.skipped_bad_date == whole.skipped_bad_date);
    for (const vl::LogRecord& record : whole.entries) {
        vl::fuzz::require(record.date() >= vl::kMinDateCode || record.date() == 0);
    }
    return 0;
}
