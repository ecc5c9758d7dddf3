// varrowlog-adif-speed FOLDER RUNS: exports FOLDER/MYLOG.LOG to FOLDER/BENCH.ADI and imports
// that file into an empty log, RUNS times each, and prints the median times in
// milliseconds, for bench/adif_speed.sh to set beside another ADIF reader's.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "interchange/AdifExport.h"
#include "interchange/AdifImport.h"

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vl;
    if (argc < 3) {
        std::cerr << "usage: varrowlog-adif-speed FOLDER RUNS\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const int runs = std::max(1, std::atoi(argv[2]));
    platform::FileSystem& files = platform::system_files();
    LogStore log(files);
    log.open(folder + "MYLOG.LOG");
    std::vector<double> exports, imports;
    int exported = 0, imported = 0;
    for (int run = 0; run < runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        ExportResult result = export_adif(files, log, folder + "BENCH.ADI", {}, {});
        exports.push_back(milliseconds_since(start));
        if (!result.written) {
            std::cerr << "export failed\n";
            return 1;
        }
        exported = result.count;
    }
    for (int run = 0; run < runs; ++run) {
        std::filesystem::remove(folder + "EMPTY.LOG");
        LogStore empty(files);
        empty.open(folder + "EMPTY.LOG");
        auto start = std::chrono::steady_clock::now();
        auto batch = read_adif_file(files, folder + "BENCH.ADI", "", "");
        if (!batch || merge_into_log(empty, std::move(batch->entries)) != LogStatus::Ok) {
            std::cerr << "import failed\n";
            return 1;
        }
        imports.push_back(milliseconds_since(start));
        imported = empty.count();
    }
    std::cout << "entries_exported " << exported << "\nentries_imported " << imported
              << "\nexport_ms " << median(exports) << "\nimport_ms " << median(imports) << "\n";
    return 0;
}
