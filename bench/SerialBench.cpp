// CAT polls must never wait for the port: a poll with nothing waiting and a poll that reads
// and decodes a whole reply, both over a real pseudo-terminal through the termios backend,
// and the decoding alone. Each benchmark's label carries its target, which the benchmark
// program checks against the median.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "station/CatFrames.h"
#include "station/RigControl.h"

namespace {

// The radio's end of a pseudo-terminal, and the rig set up on the other end.
class BenchRadio {
public:
    BenchRadio() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            return;
        }
        // A second look at the program's end, opened before the rig takes the port alone,
        // to see when a reply has crossed.
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
        vl::RigDefinition rig;
        rig.name = "IC7300.RIG";
        rig.lines = {"1:9600,N,8,1", "FEFE94E003FD", "10,5,3", "6,255,LSB,USB,AM,CW", "00", "1,2"};
        rig.port = "1";
        rig.speed = 9600;
        m_ready = !m_control.set_up(rig, &vl::platform::system_serial_ports(),
                                    std::string("1=") + ::ptsname(m_master) + "\n");
    }
    ~BenchRadio() {
        m_control.close();
        for (const int fd : {m_slave, m_master}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    BenchRadio(const BenchRadio&) = delete;
    BenchRadio& operator=(const BenchRadio&) = delete;

    bool ready() const { return m_ready && m_slave >= 0; }
    vl::RigControl& control() { return m_control; }
    // What the program sent is taken off the wire.
    void drain() {
        char bytes[4096];
        while (::read(m_master, bytes, sizeof bytes) > 0) {
        }
    }
    // A reply put on the wire, returning once it has crossed to the program's end.
    void answer(const std::uint8_t* bytes, std::size_t size) {
        if (::write(m_master, bytes, size) != static_cast<ssize_t>(size)) {
            return;
        }
        int waiting = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (::ioctl(m_slave, FIONREAD, &waiting) == 0 &&
               static_cast<std::size_t>(waiting) < size &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
    }

private:
    int m_master = -1;
    int m_slave = -1;
    bool m_ready = false;
    vl::RigControl m_control;
};

void BM_RigPollNothingWaiting(benchmark::State& state) {
    BenchRadio radio;
    if (!radio.ready()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    int polls = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(radio.control().poll());
        if (++polls % 256 == 0) {
            state.PauseTiming();
            radio.drain();
            state.ResumeTiming();
        }
    }
    state.SetLabel("target 20 us");
}
BENCHMARK(BM_RigPollNothingWaiting)->Unit(benchmark::kMicrosecond);

void BM_RigPollDecodesAReply(benchmark::State& state) {
    BenchRadio radio;
    if (!radio.ready()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    // 14.074 MHz, then USB: the poll asks for frequency and mode in turn.
    const std::uint8_t frequency[] = {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00,
                                      0x40, 0x07, 0x14, 0x00, 0xFD};
    const std::uint8_t mode[] = {0xFE, 0xFE, 0xE0, 0x94, 0x04, 0x01, 0x01, 0xFD};
    bool ask_mode = false;
    for (auto _ : state) {
        state.PauseTiming();
        radio.drain();
        if (ask_mode) {
            radio.answer(mode, sizeof mode);
        } else {
            radio.answer(frequency, sizeof frequency);
        }
        ask_mode = !ask_mode;
        state.ResumeTiming();
        const vl::RigReading reading = radio.control().poll();
        if (reading.frequency.empty() && reading.mode.empty()) {
            state.SkipWithError("the reply was not decoded");
            break;
        }
        benchmark::DoNotOptimize(reading);
    }
    state.SetLabel("target 100 us");
}
BENCHMARK(BM_RigPollDecodesAReply)->Unit(benchmark::kMicrosecond);

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
