// The benchmark program: benchmarks run in random interleaving, so that noise from the
// machine shows as spread rather than as a slow benchmark, and the crash-safe insert at
// position 1 is printed as a multiple of the physical floor measured in the same run.
// Benchmarks labelled with a target ("target 20 us", in microseconds) are checked against it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    m_medians[name] = run.GetAdjustedRealTime();
                }
            } else if (!run.error_occurred) {
                m_times[name].push_back(run.GetAdjustedRealTime());
            }
            m_failures += run.error_occurred ? 1 : 0;
            // "target 20 us": a time the benchmark must stay within, in its own unit.
            if (run.report_label.rfind("target ", 0) == 0) {
                m_targets[name] = std::atof(run.report_label.c_str() + 7);
            }
        }
    }

    void print_ratio() {
        double insert = median_of("BM_InsertAtPositionOne");
        double floor = median_of("BM_PhysicalFloor");
        if (insert > 0 && floor > 0) {
            std::printf(
                "Insert at position 1 / physical floor (medians of wall time): %.2f ms / %.2f ms "
                "= %.2f\n",
                insert, floor, insert / floor);
        }
    }

    void print_targets() {
        for (const auto& [name, target] : m_targets) {
            const double time = median_of(name);
            std::printf("%s: %.2f us against a target of %.0f us: %s\n", name.c_str(), time, target,
                        time <= target ? "within" : "OVER THE TARGET");
        }
    }

    // Runs whose operation failed: they report an error, and the program fails.
    int failures() const { return m_failures; }

private:
    double median_of(const std::string& name) {
        if (auto found = m_medians.find(name); found != m_medians.end()) {
            return found->second;
        }
        std::vector<double>& times = m_times[name];
        if (times.empty()) {
            return 0;
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    std::map<std::string, double> m_medians;
    std::map<std::string, std::vector<double>> m_times;
    std::map<std::string, double> m_targets;
    int m_failures = 0;
};

}  // namespace

int main(int argc, char** argv) {
    // Given first, so the same flag on the command line still decides.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratio();
    reporter.print_targets();
    benchmark::Shutdown();
    if (reporter.failures() > 0) {
        std::fprintf(stderr, "%d benchmark runs failed; their times are not reported\n",
                     reporter.failures());
        return 1;
    }
    return 0;
}
