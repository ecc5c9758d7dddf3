// Fuzz target: any bytes as MYLOG.LOG and MYLOG.JNL. Opening, reading every entry in every
// form, and inserting must not crash, and the log must stay in step with its indexes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/LogStore.h"

namespace {

void write(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("varrowlog-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    std::filesystem::remove(dir / "MYLOG.BAD");
    // The first byte says how much of the input is the journal.
    size_t journal_size = size == 0 ? 0 : (data[0] * size) / 256;
    const uint8_t* rest = size == 0 ? data : data + 1;
    size_t rest_size = size == 0 ? 0 : size - 1;
    journal_size = std::min(journal_size, rest_size);
    write(dir / "MYLOG.JNL", rest, journal_size);
    write(dir / "MYLOG.LOG", rest + journal_size, rest_size - journal_size);

    vl::LogStore log(vl::platform::system_files());
    if (log.open((dir / "MYLOG.LOG").string()).outcome != vl::OpenReport::Outcome::Opened) {
        return 0;
    }
    for (int i = 1; i <= log.count(); ++i) {
        const vl::LogRecord& r = log.entry(i);
        if (log.call_slot(i) != vl::base_call_slot(r.call_field()) ||
            log.date_slot(i) != r.date()) {
            std::abort();
        }
        vl::decode_qso(r);
        vl::decode_data(r);
        vl::decode_text(r);
        vl::spoken_date(r.date(), i % 3);
        vl::date_text(r.date(), i % 3);
        vl::time_text(r.time());
        vl::band_of_band_field(r.view(32, 3));
        vl::mode_class(r.view(35, 3));
    }
    int before = log.count();
    if (log.insert_in_order(vl::encode(vl::TextEntry{})) == vl::LogStatus::Ok &&
        log.count() != before + 1) {
        std::abort();
    }
    return 0;
}
