// Generated logs for the benchmarks.
#include "BenchLog.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "logstore/Dates.h"
#include "logstore/LogEntry.h"

namespace vl::bench {

namespace {

// The low prefix of each range of the shipped country list, so calls spread over the
// countries as a real log's do; a few common prefixes when the list cannot be read.
std::vector<std::string> country_prefixes() {
    std::vector<std::string> prefixes;
    std::ifstream in(std::string(VARROW_DATA_DIR) + "/COUNTRY.LST", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::string prefix = line.substr(0, line.find(','));
        if (!prefix.empty() && prefix.size() <= 6 && prefix.find('\r') == std::string::npos) {
            prefixes.push_back(prefix);
        }
    }
    if (prefixes.empty()) {
        prefixes = {"G", "DL", "F", "EA", "I", "K", "W", "VE", "JA", "VK"};
    }
    return prefixes;
}

template <typename Random>
std::string pick(Random& random, std::initializer_list<const char*> choices) {
    return *(choices.begin() + random() % choices.size());
}

}  // namespace

void write_bench_log(const std::string& folder, int entries) {
    static const std::vector<std::string> kPrefixes = country_prefixes();
    std::mt19937 random(42);
    std::ofstream out(folder + "MYLOG.LOG", std::ios::binary | std::ios::trunc);
    int date = date_code(95, 1, 1);
    int time = 0;
    for (int i = 0; i < entries; ++i) {
        // About 40 contacts a day over the years; every time is a valid time of day.
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
        const auto d = static_cast<int16_t>(date);
        const auto t = static_cast<int16_t>(time);
        if (i % 400 == 0) {
            record = encode(
                TextEntry{d, t,
                          pick(random, {"Field day at the club", "New antenna up", "Contest: CQ WW",
                                        "Band open to JA", "Portable on the hill"})});
        } else if (i % 400 == 200) {
            record = encode(DataEntry{d, t, pick(random, {"Ann", "Bob", "Chris"}),
                                      pick(random, {"IC-7300", "FT-991A", "TS-590"}),
                                      pick(random, {"Dipole", "Yagi", "Vertical", "Loop"}),
                                      static_cast<int16_t>(random() % 13)});
        } else {
            QsoEntry qso;
            qso.date = d;
            qso.time_on = t;
            qso.time_off = static_cast<int16_t>((time + 1 + random() % 15) % 1440);
            qso.call =
                kPrefixes[random() % kPrefixes.size()] + std::to_string(random() % 10) +
                static_cast<char>('A' + random() % 26) + static_cast<char>('A' + random() % 26) +
                (random() % 3 == 0 ? "" : std::string(1, static_cast<char>('A' + random() % 26))) +
                (random() % 20 == 0 ? "/P" : "");
            qso.call.resize(std::min<std::size_t>(qso.call.size(), 12));
            const bool cw = random() % 2 == 0;
            qso.rst_sent =
                cw ? pick(random, {"599", "579", "559"}) : pick(random, {"59", "57", "55"});
            qso.rst_received =
                cw ? pick(random, {"599", "589", "449"}) : pick(random, {"59", "58", "44"});
            qso.band_field = band_field_of(static_cast<int>(random() % 13));
            qso.mode = cw ? "CW " : pick(random, {"SSB", "FM ", "RTY", "FT8"});
            qso.power = pick(random, {"100", "50", "400", "5"});
            qso.comment = pick(random, {"Name ", "Op ", ""}) +
                          pick(random, {"Sam", "Jo", "Hiro", "Ana", "Piet", "Lars"}) +
                          pick(random, {" QTH Leeds", " QTH Osaka", " QTH Lima", "",
                                        " QSL via buro", " 73 TNX"});
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
