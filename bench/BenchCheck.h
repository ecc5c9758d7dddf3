// What every benchmark does when an operation it relies on fails, timed or not: the run is
// marked failed and reports an error instead of a time, and the program's exit status says so.
#pragma once

#include <benchmark/benchmark.h>

namespace vl::bench {

// True, with the run marked failed, when `ok` is false.
inline bool failed(benchmark::State& state, bool ok, const char* what) {
    if (!ok) {
        state.SkipWithError(what);
    }
    return !ok;
}

}  // namespace vl::bench
