// Fuzz target: any bytes as MYLOG.LOG and MYLOG.JNL. Opening, reading every entry in every
// form, and inserting must not crash, and the log must stay in step with its indexes.
#include <cstring>
#include <vector>

#include "Fuzz.h"
#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Checksum.h"
#include "logstore/Dates.h"
#include "logstore/LogJournal.h"
#include "logstore/LogStore.h"
#include "support/FaultyFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = vl::fuzz::own_folder("varrowlog-fuzz-");
    vl::test::FaultyFiles files;
    files.skip_flushes();
    std::filesystem::remove(dir / "MYLOG.BAD");
    std::filesystem::remove(dir / "MYLOG.JNL.BAD");
    const auto [journal, log_bytes] = vl::fuzz::split({reinterpret_cast<const char*>(data), size});
    vl::platform::write_whole_file(files, (dir / "MYLOG.LOG").string(), log_bytes);
    if (size >= 4 && (data[0] & 1) != 0) {
        // A journal whole and checksummed, as a crash leaves one, so that opening judges
        // whether it belongs to the log: its numbers come from the input, its untouched
        // records from the log written above when there are enough, and its records from
        // the journal's share of the input.
        const uint32_t old_count = data[1] % 8;
        const uint32_t first = 1 + data[2] % (old_count + 1);
        std::vector<vl::LogRecord> records(journal.size() / vl::kRecordSize);
        if (!records.empty()) {
            std::memcpy(records.data(), journal.data(), records.size() * vl::kRecordSize);
        }
        std::vector<vl::LogRecord> kept(first - 1);
        if (log_bytes.size() >= kept.size() * vl::kRecordSize && !kept.empty()) {
            std::memcpy(kept.data(), log_bytes.data(), kept.size() * vl::kRecordSize);
        }
        vl::Checksum kept_checksum;
        kept_checksum.add(kept.data(), kept.size() * vl::kRecordSize);
        vl::write_journal(files, (dir / "MYLOG.JNL").string(), old_count, first,
                          first - 1 + static_cast<uint32_t>(records.size()), kept_checksum.value(),
                          records);
    } else {
        vl::platform::write_whole_file(files, (dir / "MYLOG.JNL").string(), journal);
    }

    vl::LogStore log(files);
    if (log.open((dir / "MYLOG.LOG").string()).outcome != vl::OpenReport::Outcome::Opened) {
        return 0;
    }
    for (int i = 1; i <= log.count(); ++i) {
        const vl::LogRecord& r = log.entry(i);
        vl::fuzz::require(log.call_slot(i) == vl::base_call_slot(r.call_field()) &&
                          log.date_slot(i) == r.date());
        vl::decode_qso(r);
        vl::decode_data(r);
        vl::decode_text(r);
        vl::spoken_date(r.date(), i % 3);
        vl::date_text(r.date(), i % 3);
        vl::time_text(r.time());
        vl::band_of_band_field(r.band_field());
        vl::mode_class(r.mode_field());
    }
    int before = log.count();
    vl::fuzz::require(log.insert_in_order(vl::encode(vl::TextEntry{})) != vl::LogStatus::Ok ||
                      log.count() == before + 1);
    return 0;
}
