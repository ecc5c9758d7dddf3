// Generated logs for the benchmarks.
#include "BenchLog.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "logstore/Dates.h"
#include "logstore/LogEntry.h"

namespace vl::bench {

void write_bench_log(const std::string& folder, int entries) {
    static const char* kPrefixes[] = {"G",  "GW", "M",  "DL", "F",  "EA", "I",  "K",  "W",  "VE",
                                      "JA", "VK", "ZL", "PY", "LU", "UA", "SP", "OK", "ON", "PA"};
    static const char* kModes[] = {"SSB", "CW ", "FM ", "RTY", "J3E", "A1A"};
    std::mt19937 random(42);
    std::ofstream out(folder + "MYLOG.LOG", std::ios::binary | std::ios::trunc);
    int date = date_code(95, 1, 1);
    int time = 0;
    for (int i = 0; i < entries; ++i) {
        // About 40 contacts a day over the years.
        time += static_cast<int>(random() % 72);
        if (time >= 1440) {
            time -= 1440;
            date = date + 1;
            if (date_parts(date).day > 28) {
                date = date_code(date_parts(date).year, date_parts(date).month + 1, 1);
            }
            if (date_parts(date).month > 12) {
                date = date_code(date_parts(date).year + 1, 1, 1);
            }
        }
        LogRecord record;
        if (i % 500 == 0) {
            TextEntry text{static_cast<int16_t>(date), static_cast<int16_t>(time), "Field day"};
            record = encode(text);
        } else {
            QsoEntry qso;
            qso.date = static_cast<int16_t>(date);
            qso.time_on = static_cast<int16_t>(time);
            qso.time_off = static_cast<int16_t>(time + 5);
            qso.call = std::string(kPrefixes[random() % 20]) + std::to_string(random() % 10) +
                       static_cast<char>('A' + random() % 26) +
                       static_cast<char>('A' + random() % 26) +
                       static_cast<char>('A' + random() % 26) + (random() % 10 == 0 ? "/P" : "");
            qso.rst_sent = "59";
            qso.rst_received = "57";
            qso.band_field = band_field_of(static_cast<int>(random() % 13));
            qso.mode = kModes[random() % 6];
            qso.power = "100";
            qso.comment = "Name Sam QTH Leeds";
            qso.qsl_flags = static_cast<uint8_t>(random() % 4);
            record = encode(qso);
        }
        out.write(record.bytes.data(), static_cast<std::streamsize>(record.bytes.size()));
    }
}

std::string bench_folder(const std::string& name) {
    auto path = std::filesystem::temp_directory_path() /
                ("varrowlog-bench-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string() + "/";
}

}  // namespace vl::bench
