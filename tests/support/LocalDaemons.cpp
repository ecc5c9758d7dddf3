// Loopback peers: child processes through posix_spawn, sockets through poll.
#include "support/LocalDaemons.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

extern char** environ;

namespace vl::test {

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

int free_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, std::string* first_line) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    int out[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (first_line != nullptr && ::pipe2(out, O_CLOEXEC) == 0) {
        ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    }
    pid_t pid = -1;
    if (::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        m_pid = pid;
    }
    ::posix_spawn_file_actions_destroy(&actions);
    if (out[0] >= 0) {
        ::close(out[1]);
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') {
            *first_line += c;
        }
        ::close(out[0]);
    }
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

PeerLine PeerLine::to(int port) {
    PeerLine line(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = loopback(port);
    if (line.m_fd >= 0 &&
        ::connect(line.m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(std::exchange(line.m_fd, -1));
    }
    return line;
}

PeerLine::~PeerLine() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::optional<std::string> PeerLine::read_line(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        const std::size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd wait{m_fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char bytes[512];
        const ssize_t got = ::recv(m_fd, bytes, sizeof bytes, 0);
        if (got <= 0) {
            return std::nullopt;
        }
        m_buffer.append(bytes, static_cast<std::size_t>(got));
    }
}

void PeerLine::send(const std::string& text) {
    ::send(m_fd, text.data(), text.size(), MSG_NOSIGNAL);
}

bool wait_for_listener(int port) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (PeerLine::to(port).connected()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string ask(int port, const std::string& command) {
    PeerLine daemon = PeerLine::to(port);
    daemon.send(command);
    std::string answer;
    while (auto line = daemon.read_line(0.5)) {
        answer += *line + "\n";
    }
    return answer;
}

FakeDaemon::FakeDaemon(int port, Serve serve) : m_serve(std::move(serve)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address = loopback(port);
    socklen_t size = sizeof address;
    ::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 4);
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

FakeDaemon::~FakeDaemon() {
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

// Connections are served one after another, as the program makes only one at a time.
void FakeDaemon::run() {
    int connection = 0;
    while (!m_stop) {
        pollfd wait{m_listener, POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0) {
            continue;
        }
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        PeerLine line(fd);
        m_serve(line, connection++);
    }
}

}  // namespace vl::test
