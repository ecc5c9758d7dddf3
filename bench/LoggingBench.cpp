// Logging on a 120,000-entry log: one Down press of a search that walks the whole log, and
// saving a QSO dated before every entry.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "logging/EntryRules.h"
#include "logging/LogReading.h"

namespace vl::bench {
namespace {

void BM_SearchWholeLog(benchmark::State& state) {
    std::string folder = bench_folder("search");
    write_bench_log(folder);
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    const auto field = state.range(0) == 0 ? SearchField::CallSign : SearchField::Comment;
    for (auto _ : state) {
        // Found nowhere, so every entry is read.
        benchmark::DoNotOptimize(search_log(log, field, "QQQQ", 0, true));
    }
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SearchWholeLog)->Arg(0)->Arg(1)->ArgNames({"comment"})->Unit(benchmark::kMillisecond);

void BM_SaveQsoBeforeEveryEntry(benchmark::State& state) {
    std::string folder = bench_folder("save");
    write_bench_log(folder, kBenchEntries - 1);
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    CountryList countries;
    countries.load("G,G,England,1,52,-1\r\n");
    DxccChart chart;
    QsoBoxes boxes{"G4ABC", "1430", "", "", "", "14.2", "CW", "100", "", "", ""};
    const LogRecord record = *build_qso(-16964, boxes).record;
    for (auto _ : state) {
        int position = 0;
        if (save_entry(log, countries, chart, record, 0, &position) != LogStatus::Ok ||
            position != 1) {
            state.SkipWithError("save failed");
            break;
        }
        state.PauseTiming();
        const bool removed = log.delete_entry(1) == LogStatus::Ok;
        state.ResumeTiming();
        if (failed(state, removed, "removing the entry failed")) {
            break;
        }
    }
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveQsoBeforeEveryEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vl::bench
