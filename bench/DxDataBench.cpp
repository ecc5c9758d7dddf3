// DX data on a 120,000-entry log with the shipped 1001-record country list: Log Check,
// the QSLs-needed report and one Find country.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "dxdata/DxReports.h"

namespace vl::bench {
namespace {

struct DxFixture {
    DxFixture() : folder(bench_folder("dx")), log(platform::system_files()) {
        write_bench_log(folder);
        opened = log.open(folder + "MYLOG.LOG").outcome == OpenReport::Outcome::Opened;
        std::ifstream in(std::string(VARROW_DATA_DIR) + "/COUNTRY.LST", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        // A list that did not load would leave every lookup finding nothing, quickly.
        opened = opened && !countries.load(text.str()) && countries.highest() > 0;
    }
    ~DxFixture() {
        log.close();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    LogStore log;
    bool opened = false;
    CountryList countries;
};

DxFixture& fixture() {
    static DxFixture instance;
    return instance;
}

void BM_LogCheck(benchmark::State& state) {
    DxFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    DxccChart chart;
    for (auto _ : state) {
        chart.rebuild_from_log(f.log, f.countries);
        benchmark::DoNotOptimize(chart.cell(1, 4));
    }
}
BENCHMARK(BM_LogCheck)->Unit(benchmark::kMillisecond);

// The worst case: every country worked and unconfirmed, most of them with no entry in the
// log, so the whole log is read.
void BM_QslsNeeded(benchmark::State& state) {
    DxFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    DxccChart chart;
    for (int n = 1; n <= f.countries.highest(); ++n) {
        chart.mark(n, 4, 0, 0);
    }
    for (auto _ : state) {
        Report report = qsls_needed_report(f.countries, chart, f.log);
        benchmark::DoNotOptimize(report.lines.size());
    }
}
BENCHMARK(BM_QslsNeeded)->Unit(benchmark::kMillisecond);

void BM_FindCountry(benchmark::State& state) {
    DxFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    const char* calls[] = {"G4ABC       ", "UA9XYZ      ", "ZL1AAA      ",
                           "VP2MAA      ", "XX9ZZZ      ", "DL2HS/EA8   "};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.countries.find(calls[i++ % 6]));
    }
}
BENCHMARK(BM_FindCountry)->Unit(benchmark::kMicrosecond);

void BM_FindCountryByPlainScan(benchmark::State& state) {
    DxFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.countries.find_by_scan("ZL1AAA      "));
    }
}
BENCHMARK(BM_FindCountryByPlainScan)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vl::bench
