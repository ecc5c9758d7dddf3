// Writes a realistic log of every band, mode and QSL case, exports it, and writes beside the
// export what each exported record must carry, as JSON, for the independent ADIF readers.
//   adif_peer_export FOLDER
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "interchange/AdifExport.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "platform/Files.h"

namespace {

using namespace vl;

struct Expected {
    std::string call, date, time_on, time_off, freq, mode, rst_sent, rst_rcvd, qsl_sent, qsl_rcvd;
};

const char* const kFrequencies[] = {"1.8",    "3.5", "7",  "10.1", "14",  "18.068", "21",
                                    "24.890", "28",  "50", "70",   "144", "430",    "5.350"};

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: adif_peer_export FOLDER\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const std::vector<std::string> modes = {"A1A", "J3E", "F3E", "CW",  "SSB",
                                            "FM",  "FT8", "RTY", "PSK", ""};
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
        const int band = i % 15 == 14 ? kBandNoFrequency : i % 15;
        e.band_field = band_field_of(band);
        e.mode = modes[i % modes.size()];
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

        Expected x;
        for (char c : e.call) {
            if (c != ' ') {
                x.call += c;
            }
        }
        x.date = std::to_string(1900 + year) + two_digits(month) + two_digits(1 + i % 28);
        x.time_on = time_text(e.time_on);
        x.time_off = time_text(e.time_off);
        x.freq = band < 14 ? kFrequencies[band] : "0";
        x.mode = e.mode == "A1A" ? "CW" : e.mode == "J3E" ? "SSB" : e.mode == "F3E" ? "FM" : e.mode;
        if (x.mode.empty()) {
            x.mode = "0";
        }
        x.rst_sent = e.rst_sent.empty() ? "0" : e.rst_sent;
        x.rst_rcvd = e.rst_received.empty() ? "0" : e.rst_received;
        x.qsl_sent = (i % 4) & 1 ? "Y" : "N";
        x.qsl_rcvd = (i % 4) & 2 ? "Y" : "N";
        expected.push_back(x);
    }
    if (!platform::write_whole_file(platform::system_files(), folder + "MYLOG.LOG",
                                    std::string(reinterpret_cast<const char*>(records.data()),
                                                records.size() * kRecordSize))) {
        return 1;
    }
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    platform::DateTime today;
    today.year = 2026;
    today.month = 12;
    today.day = 7;
    ExportResult result =
        export_adif(platform::system_files(), log, folder + "PEERS.ADI", {}, today);
    if (!result.written || result.count != static_cast<int>(expected.size())) {
        std::cerr << "export failed: " << result.count << " of " << expected.size() << "\n";
        return 1;
    }
    std::string json = "[\n";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& x = expected[i];
        json += "{\"call\":" + json_string(x.call) + ",\"qso_date\":" + json_string(x.date) +
                ",\"time_on\":" + json_string(x.time_on) +
                ",\"time_off\":" + json_string(x.time_off) + ",\"freq\":" + json_string(x.freq) +
                ",\"mode\":" + json_string(x.mode) + ",\"rst_sent\":" + json_string(x.rst_sent) +
                ",\"rst_rcvd\":" + json_string(x.rst_rcvd) +
                ",\"qsl_sent\":" + json_string(x.qsl_sent) +
                ",\"qsl_rcvd\":" + json_string(x.qsl_rcvd) + "}" +
                (i + 1 < expected.size() ? ",\n" : "\n");
    }
    json += "]\n";
    return platform::write_whole_file(platform::system_files(), folder + "EXPECTED.JSON", json) ? 0
                                                                                                : 1;
}
