// Network peers on the loopback address for the Hamlib tests: Hamlib's own daemons run as
// child processes, and a scripted stand-in for what the real ones will not do.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vl::test {

// A loopback port nothing listens on at the moment it is asked for.
int free_port();

// A program run beside the test; ended (SIGTERM, then waited for) when this goes. A stand-in
// server that prints the port it serves on is started with `first_line`, which gets the first
// line of its output.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv, std::string* first_line = nullptr);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

private:
    int m_pid = -1;
};

// True once something accepts connections on the port, within about five seconds.
bool wait_for_listener(int port);
// Sends `command` to the daemon on `port` and gives the lines it answered, each within half a
// second.
std::string ask(int port, const std::string& command);

// A loopback connection, lines in and text out, closed when this goes: one the stand-in daemon
// accepted, or one of the test's own to `port` when made by to().
class PeerLine {
public:
    explicit PeerLine(int fd) : m_fd(fd) {}
    static PeerLine to(int port);
    ~PeerLine();
    PeerLine(PeerLine&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    PeerLine& operator=(PeerLine&&) = delete;
    bool connected() const { return m_fd >= 0; }
    // The next line the program sent, without its LF; nothing when it closed the connection
    // or `seconds` passed.
    std::optional<std::string> read_line(double seconds = 5);
    void send(const std::string& text);

private:
    int m_fd;
    std::string m_buffer;
};

// Listens on a loopback port and hands each connection, numbered from 0, to `serve` on a
// thread of its own; the connection is closed when `serve` returns.
class FakeDaemon {
public:
    using Serve = std::function<void(PeerLine&, int connection)>;
    FakeDaemon(int port, Serve serve);
    ~FakeDaemon();
    FakeDaemon(const FakeDaemon&) = delete;
    FakeDaemon& operator=(const FakeDaemon&) = delete;
    int port() const { return m_port; }

private:
    void run();

    int m_listener = -1;
    int m_port = 0;
    Serve m_serve;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace vl::test
