// Hamlib polls on the screen's thread must never wait: a poll with nothing to read, and a rig
// poll that reads and parses rigctld's answer to "f" and "m", both over a real loopback
// connection to a listener of the benchmark's own standing in for the daemon.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "hamlib/HamlibClient.h"

namespace {

// The daemon's end: a loopback listener and the one connection it accepted.
class BenchDaemon {
public:
    BenchDaemon() {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~BenchDaemon() {
        for (const int fd : {m_peer, m_listener}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    BenchDaemon(const BenchDaemon&) = delete;
    BenchDaemon& operator=(const BenchDaemon&) = delete;

    bool accept() {
        pollfd wait{m_listener, POLLIN, 0};
        if (::poll(&wait, 1, 1000) > 0) {
            m_peer = ::accept(m_listener, nullptr, nullptr);
        }
        return m_peer >= 0;
    }
    // What the program asked is read, and `answer` sent.
    void answer(const std::string& text) {
        char bytes[4096];
        pollfd wait{m_peer, POLLIN, 0};
        while (::poll(&wait, 1, 0) > 0 && ::recv(m_peer, bytes, sizeof bytes, 0) > 0) {
        }
        ::send(m_peer, text.data(), text.size(), MSG_NOSIGNAL);
    }

    int port = 0;

private:
    int m_listener = -1;
    int m_peer = -1;
};

void BM_HamlibPollNothingToRead(benchmark::State& state) {
    BenchDaemon daemon;
    vl::hamlib::Connection connection(&vl::platform::system_tcp_clients(),
                                      {"127.0.0.1", daemon.port}, "rig control", 0, 5);
    connection.ready();
    if (!daemon.accept() || !connection.ready()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(connection.ready());
        benchmark::DoNotOptimize(connection.line());
    }
    if (!connection.is_open()) {
        state.SkipWithError("the connection was lost");
    }
    state.SetLabel("target 50 us");
}
BENCHMARK(BM_HamlibPollNothingToRead)->Unit(benchmark::kMicrosecond);

void BM_HamlibRigPollReadsAnAnswer(benchmark::State& state) {
    BenchDaemon daemon;
    vl::hamlib::RigClient rig(&vl::platform::system_tcp_clients(), {"127.0.0.1", daemon.port});
    rig.poll();
    if (!daemon.accept()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    rig.poll();  // asks its first "f" and "m"
    for (auto _ : state) {
        state.PauseTiming();
        daemon.answer("14074000\nUSB\n2400\n");
        // The answer crosses the loopback before the timed poll.
        ::usleep(200);
        state.ResumeTiming();
        const auto reading = rig.poll();
        if (!reading || !reading->hertz) {
            state.SkipWithError("the answer was not read");
            break;
        }
        benchmark::DoNotOptimize(reading);
    }
    state.SetLabel("target 100 us");
}
BENCHMARK(BM_HamlibRigPollReadsAnAnswer)->Unit(benchmark::kMicrosecond);

}  // namespace
