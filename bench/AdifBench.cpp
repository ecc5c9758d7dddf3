// ADIF export of a 120,000-entry log, and the import of that file into an empty log with its
// crash-safe write.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "interchange/AdifExport.h"
#include "interchange/AdifImport.h"

namespace vl::bench {
namespace {

void BM_AdifExport(benchmark::State& state) {
    std::string folder = bench_folder("adif-export");
    write_bench_log(folder);
    LogStore log(platform::system_files());
    log.open(folder + "MYLOG.LOG");
    for (auto _ : state) {
        ExportResult result =
            export_adif(platform::system_files(), log, folder + "BENCH.ADI", {}, {});
        if (!result.written) {
            state.SkipWithError("export failed");
            break;
        }
        state.counters["entries"] = result.count;
    }
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AdifExport)->Unit(benchmark::kMillisecond);

void BM_AdifImport(benchmark::State& state) {
    std::string folder = bench_folder("adif-import");
    write_bench_log(folder);
    bool exported = false;
    {
        LogStore log(platform::system_files());
        log.open(folder + "MYLOG.LOG");
        exported = export_adif(platform::system_files(), log, folder + "BENCH.ADI", {}, {}).written;
    }
    if (failed(state, exported, "export failed")) {
        std::filesystem::remove_all(folder);
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(folder + "EMPTY.LOG");
        LogStore log(platform::system_files());
        const bool opened = log.open(folder + "EMPTY.LOG").outcome == OpenReport::Outcome::Opened;
        state.ResumeTiming();
        if (failed(state, opened, "open failed")) {
            break;
        }
        auto batch = read_adif_file(platform::system_files(), folder + "BENCH.ADI", "", "");
        if (!batch || merge_into_log(log, std::move(batch->entries)) != LogStatus::Ok) {
            state.SkipWithError("import failed");
            break;
        }
        state.counters["entries"] = log.count();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AdifImport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vl::bench
