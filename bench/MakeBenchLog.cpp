// varrowlog-make-bench-log FOLDER [ENTRIES]: writes a generated MYLOG.LOG for measuring the
// program by hand (peak memory, start-up time).
#include <cstdlib>
#include <iostream>

#include "BenchLog.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varrowlog-make-bench-log FOLDER [ENTRIES]\n";
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') {
        folder += '/';
    }
    vl::bench::write_bench_log(folder, argc > 2 ? std::atoi(argv[2]) : vl::bench::kBenchEntries);
    return 0;
}
