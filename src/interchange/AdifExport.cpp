// ADIF export in its fixed layout.
#include "interchange/AdifExport.h"

#include <array>
#include <string_view>

#include "interchange/AdifFiles.h"
#include "interchange/AdifModes.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

// The frequency written for each band number; other bands have none.
constexpr std::array<std::string_view, 14> kBandFrequencies = {
    "1.8",    "3.5", "7",  "10.1", "14",  "18.068", "21",
    "24.890", "28",  "50", "70",   "144", "430",    "5.350"};

// Flushed to the file in blocks of about this size.
constexpr std::size_t kWriteBlock = 1 << 16;

std::string without_blanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

// An empty value is left out: a length of 1 and the value "0", as older exports wrote it,
// is a mode, frequency or report no reader can take.
void append_field(std::string& out, std::string_view tag, std::string_view value) {
    if (value.empty()) {
        return;
    }
    out += "  <";
    out += tag;
    out += ':';
    out += std::to_string(value.size());
    out += '>';
    out += value;
}

std::string adif_date(int code) {
    DateParts parts = date_parts(code);
    int two_digit_year = (parts.year % 100 + 100) % 100;
    std::string century = two_digit_year >= 30 ? "19" : "20";
    return century + two_digits(parts.year) + two_digits(parts.month) + two_digits(parts.day);
}

}  // namespace

std::string export_file_name(std::string name) {
    bool has_extension = name.find(".ADI") != std::string::npos;
    if (!has_extension && is_path_name(name)) {
        // A path keeps its letters, so its extension may be written in small letters.
        has_extension = to_upper(name).find(".ADI") != std::string::npos;
    }
    if (!has_extension) {
        name += ".ADI";
    }
    return name;
}

std::string adif_header(const platform::DateTime& local) {
    return "ADIF export from Varrow Log \r\nDate: " + two_digits(local.day) + "-" +
           two_digits(local.month) + "-" + std::to_string(local.year) + "<eoh>\r\n";
}

bool is_exported(const LogRecord& record, const ExportRange& range) {
    std::string_view call = record.call_field();
    if (!record.is_qso() || trim_right(call) == "CQ") {
        return false;
    }
    int date = record.date();
    return date >= range.start && date <= range.end;
}

void append_adif_entry(std::string& out, const LogRecord& record) {
    QsoEntry entry = decode_qso(record);
    out += "<qso_date:8>";
    out += adif_date(entry.date);
    out += ' ';
    append_field(out, "call", without_blanks(entry.call));
    out += "  <time_on:4>";
    out += time_text(entry.time_on);
    out += "  <time_off:4>";
    out += time_text(entry.time_off);
    out += "\r\n";

    int band = band_of_band_field(entry.band_field);
    std::string_view frequency =
        band >= 0 && band < static_cast<int>(kBandFrequencies.size()) ? kBandFrequencies[band] : "";
    append_field(out, "rst_sent", without_blanks(entry.rst_sent));
    append_field(out, "rst_rcvd", without_blanks(entry.rst_received));
    append_field(out, "freq", frequency);
    if (auto mode = adif_mode_of(entry.mode)) {
        append_field(out, "mode", mode->mode);
        append_field(out, "submode", mode->submode);
    }
    append_field(out, "tx_pwr", without_blanks(entry.power));
    out += "\r\n";

    // An empty comment keeps length 0: the comment has no "0" rule.
    std::string_view comment = trim_right(entry.comment);
    out += "  <comment:";
    out += std::to_string(comment.size());
    out += '>';
    out += comment;
    out += "\r\n";

    out += (entry.qsl_flags & 1) != 0 ? "  <qsl_sent:1>Y" : "  <qsl_sent:1>N";
    out += (entry.qsl_flags & 2) != 0 ? "  <qsl_rcvd:1>Y" : "  <qsl_rcvd:1>N";
    out += "  <eor>\r\n";
}

std::string upload_key(const LogRecord& record) {
    QsoEntry entry = decode_qso(record);
    return adif_date(entry.date) + ' ' + time_text(entry.time_on) + ' ' +
           without_blanks(entry.call);
}

std::optional<std::string> adif_upload_record(const LogRecord& record) {
    QsoEntry entry = decode_qso(record);
    int band = band_of_band_field(entry.band_field);
    std::string_view frequency =
        band >= 0 && band < static_cast<int>(kBandFrequencies.size()) ? kBandFrequencies[band] : "";
    auto mode = adif_mode_of(entry.mode);
    const std::string call = without_blanks(entry.call);
    if (frequency.empty() || !mode || call.empty()) {
        return std::nullopt;
    }
    std::string out = "<qso_date:8>" + adif_date(entry.date);
    out += " <time_on:4>";
    out += time_text(entry.time_on);
    out += " <time_off:4>";
    out += time_text(entry.time_off);
    append_field(out, "call", call);
    append_field(out, "freq", frequency);
    append_field(out, "mode", mode->mode);
    append_field(out, "submode", mode->submode);
    append_field(out, "rst_sent", without_blanks(entry.rst_sent));
    append_field(out, "rst_rcvd", without_blanks(entry.rst_received));
    append_field(out, "tx_pwr", without_blanks(entry.power));
    out += "  <eor>";
    return out;
}

ExportResult export_adif(platform::FileSystem& files, const LogStore& log, const std::string& path,
                         const ExportRange& range, const platform::DateTime& local) {
    ExportResult result;
    const std::string temporary = path + ".NEW";
    auto file = files.open(temporary, platform::OpenMode::CreateTruncate);
    if (!file) {
        return result;
    }
    std::string block = adif_header(local);
    uint64_t offset = 0;
    bool ok = true;
    auto write_block = [&] {
        ok = ok && file->write_at(offset, block.data(), block.size());
        offset += block.size();
        block.clear();
    };
    const int count = log.count();
    for (int number = 1; number <= count && ok; ++number) {
        const LogRecord& record = log.entry(number);
        if (!is_exported(record, range)) {
            continue;
        }
        append_adif_entry(block, record);
        ++result.count;
        if (block.size() >= kWriteBlock) {
            write_block();
        }
    }
    write_block();
    ok = ok && file->flush();
    file.reset();
    if (!ok || !files.rename(temporary, path)) {
        files.remove(temporary);
        result.count = 0;
        return result;
    }
    files.sync_directory(platform::folder_of(path));
    result.written = true;
    return result;
}

}  // namespace vl
