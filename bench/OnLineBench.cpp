// On-line logging on a 120,000-entry log: the contact checks for one call, the clock's tick,
// and a log-on and a log-off with their crash-safe writes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "BenchCheck.h"
#include "BenchLog.h"
#include "logging/ContactChecks.h"
#include "logging/NetRules.h"
#include "logging/OnLineClock.h"
#include "platform/headless/HeadlessUi.h"
#include "shell/Screen.h"

namespace vl::bench {
namespace {

// One entry short of a full log, so that a log-on has its place: it makes the log 120,000
// entries long, as an operator's full log is at its last contact.
struct OnLineFixture {
    OnLineFixture() : folder(bench_folder("online")), log(platform::system_files()) {
        write_bench_log(folder, kBenchEntries - 1);
        opened = log.open(folder + "MYLOG.LOG").outcome == OpenReport::Outcome::Opened;
        std::ifstream in(std::string(VARROW_DATA_DIR) + "/COUNTRY.LST", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        // A list that did not load would leave every lookup finding nothing, quickly.
        opened = opened && !countries.load(text.str()) && countries.highest() > 0;
        chart.rebuild_from_log(log, countries);
    }
    ~OnLineFixture() {
        log.close();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    LogStore log;
    bool opened = false;
    CountryList countries;
    DxccChart chart;
};

OnLineFixture& fixture() {
    static OnLineFixture instance;
    return instance;
}

// A call the log does not hold, so the previous-contact lookup reads every entry; three
// stations on the net are passed over.
void BM_ContactChecks(benchmark::State& state) {
    OnLineFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    const std::array<std::string, 15> names = {"1.8MHz", "3.5MHz", "7MHz  ", "10MHz ", "14MHz "};
    const std::vector<int> net = {f.log.count() - 2, f.log.count() - 1, f.log.count()};
    for (auto _ : state) {
        PreviousContact previous = previous_contact(f.log, "JA1QQQ/P", net, 0, names);
        CountryCheck country =
            check_country(f.countries, f.chart, "JA1QQQ/P", 4, "A1A", "52.0", "-1.0");
        benchmark::DoNotOptimize(contact_verdict(f.log, previous, country));
    }
}
BENCHMARK(BM_ContactChecks)->Unit(benchmark::kMillisecond);

// Ten ticks: nine with nothing to do and the one that renews the spoken date and time. The
// headless window is not shown, so the boxes' text is stored but nothing is journalled.
void BM_ClockTick(benchmark::State& state) {
    headless::Journal journal;
    headless::HeadlessClock clock;
    headless::HeadlessUi ui({}, journal, clock);
    platform::WindowEvents events;
    platform::WindowId window =
        ui.create_window(window_shape("On Line Logging", 250, 180, 0), events);
    for (int id : {100, 101}) {
        ui.add_control(window, control(platform::ControlKind::Edit, id, "", 0, 0, 100, 12,
                                       platform::EditStyle::ReadOnly));
    }
    OnLineClock online(ui, clock, window, 100, 101);
    const bool renewing = state.range(0) == 1;
    for (auto _ : state) {
        if (renewing) {
            clock.advance(60000);  // a new minute, so both boxes change
            online.tick();
            state.PauseTiming();
            for (int i = 0; i < 9; ++i) {
                online.tick();
            }
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            online.tick();  // the renewing tick is passed over
            state.ResumeTiming();
            for (int i = 0; i < 9; ++i) {
                online.tick();
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * (renewing ? 1 : 9));
}
BENCHMARK(BM_ClockTick)->Arg(0)->Arg(1)->ArgNames({"renewing"})->Unit(benchmark::kMicrosecond);

// Log On appends its entry through the journal; Log Off rewrites it in place. The first
// log-on after the log is opened is measured on its own, as a session's first contact.
void BM_LogOnAndOff(benchmark::State& state) {
    OnLineFixture& f = fixture();
    if (failed(state, f.opened, "the log or the country list did not load")) {
        return;
    }
    const auto what = state.range(0);  // 0 log on, 1 log off, 2 first log on of a session
    const QsoEntry contact =
        log_on_entry({"JA1QQQ", "599", "599", ""}, -16964, "14:02", 4, "A1A", "100");
    LogRecord record = encode(contact);
    if (failed(state, f.log.count() < kMaxLogEntries, "the log has no place")) {
        return;
    }
    for (auto _ : state) {
        if (what == 2) {
            state.PauseTiming();
            const bool reopened = f.log.reopen().outcome == OpenReport::Outcome::Opened;
            state.ResumeTiming();
            if (failed(state, reopened, "reopen failed")) {
                break;
            }
        }
        if (what != 1) {
            if (failed(state, f.log.write_entry(f.log.count() + 1, record) == LogStatus::Ok,
                       "log on failed")) {
                break;
            }
        } else {
            state.PauseTiming();
            const bool logged_on = f.log.write_entry(f.log.count() + 1, record) == LogStatus::Ok;
            NetSlot slot{f.log.count(), 0, contact};
            state.ResumeTiming();
            if (failed(state, logged_on, "log on failed") ||
                failed(state,
                       write_log_off(f.log, f.countries, f.chart, slot, "14:17", 4, 1) ==
                           LogStatus::Ok,
                       "log off failed")) {
                break;
            }
        }
        state.PauseTiming();
        const bool removed = f.log.delete_entry(f.log.count()) == LogStatus::Ok;
        state.ResumeTiming();
        if (failed(state, removed, "removing the contact failed")) {
            break;
        }
    }
}
BENCHMARK(BM_LogOnAndOff)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"on_off_first"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vl::bench
