// Writes a realistic log of every band, QSL case and empty value, and a log of every mode the
// log can hold, exports each, and writes beside each export what its records must carry, as
// JSON, for the independent ADIF readers: PEERS.ADI and PEERS.JSON, MODES.ADI and MODES.JSON.
//   adif_peer_export FOLDER
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "interchange/AdifExport.h"
#include "interchange/AdifModes.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "platform/Files.h"
#include "uploads/UploadServices.h"

namespace {

using namespace vl;

// What a record must carry, field by field; an empty value is a field the export leaves out.
const char* const kFields[] = {"call",    "qso_date", "time_on",  "time_off", "freq",    "mode",
                               "submode", "rst_sent", "rst_rcvd", "qsl_sent", "qsl_rcvd"};
using Expected = std::array<std::string, std::size(kFields)>;

const char* const kFrequencies[] = {"1.8",    "3.5", "7",  "10.1", "14",  "18.068", "21",
                                    "24.890", "28",  "50", "70",   "144", "430",    "5.350"};

// An empty value, which the export leaves out, is null.
std::string json_string(const std::string& text) {
    if (text.empty()) {
        return "null";
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

bool write_expected(const std::string& folder, const std::string& name,
                    const std::vector<Expected>& expected) {
    std::string json = "[\n";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        for (std::size_t f = 0; f < std::size(kFields); ++f) {
            json += (f == 0 ? "{\"" : ",\"") + std::string(kFields[f]) +
                    "\":" + json_string(expected[i][f]);
        }
        json += i + 1 < expected.size() ? "},\n" : "}\n";
    }
    return platform::write_whole_file(platform::system_files(), folder + name + ".JSON",
                                      json + "]\n");
}

// Exports the records as NAME.ADI and writes what each exported record carries as NAME.JSON.
bool export_and_expect(const std::string& folder, const std::string& name,
                       const std::vector<LogRecord>& records,
                       const std::vector<Expected>& expected) {
    if (!platform::write_whole_file(platform::system_files(), folder + name + ".LOG",
                                    std::string(reinterpret_cast<const char*>(records.data()),
                                                records.size() * kRecordSize))) {
        return false;
    }
    LogStore log(platform::system_files());
    log.open(folder + name + ".LOG");
    ExportResult result = export_adif(platform::system_files(), log, folder + name + ".ADI", {},
                                      {.year = 2026, .month = 12, .day = 7});
    if (!result.written || result.count != static_cast<int>(expected.size())) {
        std::cerr << name << ": export failed: " << result.count << " of " << expected.size()
                  << "\n";
        return false;
    }
    return write_expected(folder, name, expected);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: adif_peer_export FOLDER\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    // Strict readers also want a mode and a frequency in every record, so each entry has both.
    const std::vector<std::array<std::string, 3>> modes = {
        {"A1A", "CW", ""},  {"J3E", "SSB", ""},    {"F3E", "FM", ""},  {"CW", "CW", ""},
        {"SSB", "SSB", ""}, {"FM", "FM", ""},      {"FT8", "FT8", ""}, {"RTY", "RTTY", ""},
        {"PSK", "PSK", ""}, {"FT4", "MFSK", "FT4"}};
    const std::vector<std::string> calls = {"Q1ABC", "Q9ZZ/P", "QA1BCD/MM", "Q2XY", "Q1ABC /P"};
    std::vector<LogRecord> records;
    std::vector<Expected> expected;
    for (int i = 0; i < 150; ++i) {
        // Dates across the whole range the log holds, in order.
        int year = 30 + i * 99 / 149;  // 1930 .. 2029
        int month = year == 129 ? 1 + i % 7 : 1 + i % 12;
        QsoEntry e;
        e.date = static_cast<int16_t>(date_code(year, month, 1 + i % 28));
        e.time_on = static_cast<int16_t>(i * 37 % 1440);
        e.time_off = static_cast<int16_t>((i * 37 + 11) % 1440);
        e.call = calls[i % calls.size()];
        e.rst_sent = i % 11 == 0 ? "" : (i % 2 ? "599" : "59");
        e.rst_received = i % 13 == 0 ? "" : (i % 3 ? "579" : "-12");
        const int band = i % 14;
        e.band_field = band_field_of(band);
        const auto& [stored, mode, submode] = modes[i % modes.size()];
        e.mode = stored;
        e.power = i % 9 == 0 ? "" : std::to_string(5 * (i + 1));
        e.comment = i % 4 == 0 ? "" : "QSO number " + std::to_string(i);
        e.qsl_flags = static_cast<uint8_t>('0' | (i % 4));
        records.push_back(encode(e));
        if (i % 10 == 5) {
            records.push_back(encode(DataEntry{e.date, e.time_on, "OP", "RIG", "ANT", 4}));
        }
        if (i % 10 == 7) {
            records.push_back(encode(TextEntry{e.date, e.time_on, "a note"}));
        }

        std::string call = e.call;
        std::erase(call, ' ');
        expected.push_back(
            {call, std::to_string(1900 + year) + two_digits(month) + two_digits(1 + i % 28),
             time_text(e.time_on), time_text(e.time_off), kFrequencies[band], mode, submode,
             e.rst_sent, e.rst_received, (i % 4) & 1 ? "Y" : "N", (i % 4) & 2 ? "Y" : "N"});
    }
    if (!export_and_expect(folder, "PEERS", records, expected)) {
        return 1;
    }

    // What the uploads send: the same contacts without the paper-QSL flags.
    std::vector<std::string> uploads;
    for (const LogRecord& record : records) {
        if (record.is_qso()) {
            uploads.push_back(adif_upload_record(record).value_or(""));
        }
    }
    for (Expected& x : expected) {
        x[9].clear();  // qsl_sent
        x[10].clear();
    }
    if (!platform::write_whole_file(platform::system_files(), folder + "UPLOAD.ADI",
                                    upload_file_text(uploads)) ||
        !write_expected(folder, "UPLOAD", expected)) {
        return 1;
    }

    // Every form of letters and digits the mode field holds that the export writes a mode for.
    records.clear();
    expected.clear();
    const std::string letters = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::size_t n = letters.size();
    for (std::size_t code = n * n; code < n * n * n; ++code) {
        std::string stored = {letters[code / (n * n)], letters[code / n % n], letters[code % n]};
        auto adif = adif_mode_of(stored);
        if (!adif) {
            continue;
        }
        QsoEntry e;
        e.date = static_cast<int16_t>(date_code(126, 1, 1));
        e.call = "Q1ABC";
        e.band_field = band_field_of(4);
        e.mode = stored;
        records.push_back(encode(e));
        expected.push_back({"Q1ABC", "20260101", "0000", "0000", "14", std::string(adif->mode),
                            std::string(adif->submode), "", "", "N", "N"});
    }
    std::cout << expected.size() << " modes\n";
    return export_and_expect(folder, "MODES", records, expected) ? 0 : 1;
}
