// The log store on a 120,000-entry log: open with index building, and the crash-safe
// multi-record changes at the worst position, the start of the log.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "logstore/LogStore.h"

namespace vl::bench {
namespace {

LogRecord earliest_entry() {
    QsoEntry qso;
    qso.date = -16964;  // 1 January 1930: before every entry
    qso.call = "G9ZZA";
    qso.band_field = band_field_of(4);
    return encode(qso);
}

void BM_OpenAndBuildIndex(benchmark::State& state) {
    std::string folder = bench_folder("open");
    write_bench_log(folder);
    LogStore log(platform::system_files());
    for (auto _ : state) {
        if (failed(state, log.open(folder + "MYLOG.LOG").outcome == OpenReport::Outcome::Opened,
                   "open failed")) {
            break;
        }
        benchmark::DoNotOptimize(log.count());
        log.close();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenAndBuildIndex)->Unit(benchmark::kMillisecond);

void BM_InsertAtPositionOne(benchmark::State& state) {
    std::string folder = bench_folder("insert");
    write_bench_log(folder, kBenchEntries - 1);
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    for (auto _ : state) {
        int position = 0;
        if (log.insert_in_order(earliest_entry(), &position) != LogStatus::Ok || position != 1) {
            state.SkipWithError("insert failed");
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
BENCHMARK(BM_InsertAtPositionOne)->Unit(benchmark::kMillisecond)->UseRealTime();

// The least any crash-safe rewrite of a whole log can cost on this disk: a log's bytes
// written to a new file, flushed, and renamed over the old one.
void BM_PhysicalFloor(benchmark::State& state) {
    std::string folder = bench_folder("floor");
    platform::FileSystem& files = platform::system_files();
    const std::string bytes(static_cast<std::size_t>(kBenchEntries) * kRecordSize, 'x');
    for (auto _ : state) {
        auto file = files.open(folder + "FLOOR.NEW", platform::OpenMode::CreateTruncate);
        if (!file || !file->write_at(0, bytes.data(), bytes.size()) || !file->flush() ||
            !files.rename(folder + "FLOOR.NEW", folder + "FLOOR.LOG")) {
            state.SkipWithError("write failed");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PhysicalFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteEntryOne(benchmark::State& state) {
    std::string folder = bench_folder("delete");
    write_bench_log(folder);
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    for (auto _ : state) {
        if (log.delete_entry(1) != LogStatus::Ok) {
            state.SkipWithError("delete failed");
            break;
        }
        state.PauseTiming();
        const bool put_back = log.insert_in_order(earliest_entry()) == LogStatus::Ok;
        state.ResumeTiming();
        if (failed(state, put_back, "putting the entry back failed")) {
            break;
        }
    }
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DeleteEntryOne)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vl::bench
