// CAT polls must never wait for the port: a poll with nothing waiting on a real
// pseudo-terminal, and the decoding of a whole reply.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "station/CatFrames.h"
#include "station/RigControl.h"

namespace {

void BM_RigPollNothingWaiting(benchmark::State& state) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    vl::RigDefinition rig;
    rig.name = "FT817.RIG";
    rig.lines = {"1:9600,N,8,2", "0000000003", "1,4,4", "5,15,LSB,USB,CW", "00", "1,2"};
    rig.port = "1";
    rig.speed = 9600;
    vl::RigControl control;
    control.set_up(rig, &vl::platform::system_serial_ports(),
                   std::string("1=") + ::ptsname(master) + "\n");
    char drain[4096];
    int polls = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(control.poll());
        if (++polls % 256 == 0) {
            state.PauseTiming();
            while (::read(master, drain, sizeof drain) > 0) {
            }
            state.ResumeTiming();
        }
    }
    ::close(master);
}
BENCHMARK(BM_RigPollNothingWaiting);

void BM_CatDecodeReply(benchmark::State& state) {
    vl::CatSession session({{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD}, 10, 5, 3, 6, 0xFF});
    const std::uint8_t reply[] = {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
    for (auto _ : state) {
        session.receive(reply);
        benchmark::DoNotOptimize(session.poll());
    }
}
BENCHMARK(BM_CatDecodeReply);

}  // namespace
