// Non-blocking TCP sockets: connect returns at once, the state is looked at with a poll of
// no timeout, reads and writes never wait.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Tcp.h"

namespace vl::platform {
namespace {

class PosixTcpConnection final : public TcpConnection {
public:
    PosixTcpConnection(int fd, bool open)
        : m_fd(fd),
          m_state(fd < 0 ? State::Closed
                  : open ? State::Open
                         : State::Connecting) {}
    ~PosixTcpConnection() override { close_socket(); }

    State state() override {
        if (m_state != State::Connecting) {
            return m_state;
        }
        pollfd fd{m_fd, POLLOUT, 0};
        if (::poll(&fd, 1, 0) <= 0) {
            return m_state;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            close_socket();
        } else {
            m_state = State::Open;
        }
        return m_state;
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        if (state() != State::Open || buffer.empty()) {
            return 0;
        }
        const ssize_t got = ::recv(m_fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got > 0) {
            return static_cast<std::size_t>(got);
        }
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            close_socket();
        }
        return 0;
    }

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        if (state() != State::Open || bytes.empty()) {
            return 0;
        }
        const ssize_t sent = ::send(m_fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent >= 0) {
            return static_cast<std::size_t>(sent);
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            close_socket();
        }
        return 0;
    }

private:
    void close_socket() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_state = State::Closed;
    }

    int m_fd;
    State m_state;
};

class PosixTcpClients final : public TcpClients {
public:
    std::unique_ptr<TcpConnection> connect(const std::string& host, int port) override {
        if (port <= 0 || port > 65535) {
            return nullptr;
        }
        sockaddr_storage address{};
        socklen_t size = 0;
        const std::string name = host == "localhost" ? "127.0.0.1" : host;
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        if (::inet_pton(AF_INET, name.c_str(), &v4->sin_addr) == 1) {
            v4->sin_family = AF_INET;
            v4->sin_port = htons(static_cast<std::uint16_t>(port));
            size = sizeof *v4;
        } else if (::inet_pton(AF_INET6, name.c_str(), &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(static_cast<std::uint16_t>(port));
            size = sizeof *v6;
        } else {
            addrinfo hints{};
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
                return nullptr;
            }
            std::memcpy(&address, found->ai_addr, found->ai_addrlen);
            size = found->ai_addrlen;
            ::freeaddrinfo(found);
            if (address.ss_family == AF_INET) {
                v4->sin_port = htons(static_cast<std::uint16_t>(port));
            } else {
                v6->sin6_port = htons(static_cast<std::uint16_t>(port));
            }
        }
        const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return nullptr;
        }
        // Commands are a few bytes each and answers are awaited: none is held back.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), size);
        if (result != 0 && errno != EINPROGRESS) {
            // Refused at once (nothing listening on the loopback): a closed connection.
            ::close(fd);
            return std::make_unique<PosixTcpConnection>(-1, false);
        }
        return std::make_unique<PosixTcpConnection>(fd, result == 0);
    }
};

}  // namespace

TcpClients& system_tcp_clients() {
    static PosixTcpClients clients;
    return clients;
}

}  // namespace vl::platform
