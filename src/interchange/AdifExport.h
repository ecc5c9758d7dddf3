// ADIF export: the QSO entries of the log, optionally within a range of dates, written as
// tag-form ADIF in a fixed layout of four CR LF lines per entry. Empty values and modes ADIF
// does not list are left out, so strict readers take every record.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "logstore/LogStore.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace vl {

// Date codes of the range; both limits are inclusive. With no end date every entry up to
// the last date the log holds goes out: an end of 32000 would leave out 2028 and 2029.
struct ExportRange {
    int start = -32000;
    int end = 32767;
};

// The export file's name: ".ADI" is added unless the name holds it already. A path may
// carry the extension in small letters.
std::string export_file_name(std::string name);

// The two header lines, dated with the local date.
std::string adif_header(const platform::DateTime& local);

// Whether an entry is exported: QSO entries within the range, not "CQ".
bool is_exported(const LogRecord& record, const ExportRange& range);

// One entry's four lines, CR LF each.
void append_adif_entry(std::string& out, const LogRecord& record);

// What identifies a contact to an upload service: "YYYYMMDD HHMM CALL", the QSO date, the
// time on and the call as the export writes them.
std::string upload_key(const LogRecord& record);

// One entry as an upload sends it: the contact fields on one line ending in <eor>, without
// the comment (the operator's own notes) or the paper-QSL flags. Nothing when the entry
// has no mode or no frequency, as no service takes a record without them.
std::optional<std::string> adif_upload_record(const LogRecord& record);

struct ExportResult {
    bool written = false;  // false: nothing replaced the file that was there before
    int count = 0;
};

// Writes the file under a temporary name beside it, flushes it and renames it over `path`,
// so a failed export never spoils an older export of the same name.
ExportResult export_adif(platform::FileSystem& files, const LogStore& log, const std::string& path,
                         const ExportRange& range, const platform::DateTime& local);

}  // namespace vl
