// Printing a 120,000-entry log to the recording printer: the time for each page to be
// ready, so the operator's answer at each page end is the only wait.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "logstore/Bands.h"
#include "platform/headless/HeadlessPrinter.h"
#include "printing/LogPrint.h"

namespace vl::bench {
namespace {

void BM_PrintWholeLogPerPage(benchmark::State& state) {
    std::string folder = bench_folder("print");
    write_bench_log(folder);
    LogStore log(platform::system_files());
    const bool opened = log.open(folder + "MYLOG.LOG").outcome == OpenReport::Outcome::Opened;
    std::array<std::string, 15> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = kFrequencyNames[i];
    }
    headless::RecordingPrinter printer(nullptr);
    int pages = 0;
    for (auto _ : state) {
        if (failed(state, opened && log.count() > 0, "the log did not open")) {
            break;
        }
        auto job = printer.start_job("Print Log", platform::Orientation::Landscape);
        int before = printer.pages_ended();
        print_log_pages(*job, log, LogPrintStart{}, 0, names, [] { return true; });
        job->end_job();
        if (failed(state, printer.pages_ended() > before, "nothing was printed")) {
            break;
        }
        pages += printer.pages_ended() - before;
    }
    // Time per page: the whole print's time shared among its pages.
    state.counters["page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrintWholeLogPerPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vl::bench
