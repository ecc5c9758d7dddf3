// A generated log of realistic shape for the benchmarks: 120,000 entries in date order,
// calls over the shipped country list's prefixes, varied reports, modes and comments, and a
// DATA or Text entry now and then.
#pragma once

#include <string>

namespace vl::bench {

constexpr int kBenchEntries = 120000;

// Writes MYLOG.LOG of `entries` entries into `folder` (which ends with a separator).
void write_bench_log(const std::string& folder, int entries = kBenchEntries);

// A fresh temporary folder, with its trailing separator.
std::string bench_folder(const std::string& name);

}  // namespace vl::bench
