// Non-blocking TCP sockets through Winsock: connect returns at once, the state is looked at
// with a select of no timeout, reads and writes never wait.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/Tcp.h"

namespace vl::platform {
namespace {

class WinsockTcpConnection final : public TcpConnection {
public:
    WinsockTcpConnection(SOCKET socket, bool open)
        : m_socket(socket),
          m_state(socket == INVALID_SOCKET ? State::Closed
                  : open                   ? State::Open
                                           : State::Connecting) {}
    ~WinsockTcpConnection() override { close_socket(); }

    State state() override {
        if (m_state != State::Connecting) {
            return m_state;
        }
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        timeval none{0, 0};
        if (::select(0, nullptr, &writable, &failed, &none) <= 0) {
            return m_state;
        }
        if (FD_ISSET(m_socket, &failed)) {
            close_socket();
        } else if (FD_ISSET(m_socket, &writable)) {
            m_state = State::Open;
        }
        return m_state;
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        if (state() != State::Open || buffer.empty()) {
            return 0;
        }
        const int got = ::recv(m_socket, reinterpret_cast<char*>(buffer.data()),
                               static_cast<int>(buffer.size()), 0);
        if (got > 0) {
            return static_cast<std::size_t>(got);
        }
        if (got == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) {
            close_socket();
        }
        return 0;
    }

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        if (state() != State::Open || bytes.empty()) {
            return 0;
        }
        const int sent = ::send(m_socket, reinterpret_cast<const char*>(bytes.data()),
                                static_cast<int>(bytes.size()), 0);
        if (sent >= 0) {
            return static_cast<std::size_t>(sent);
        }
        if (::WSAGetLastError() != WSAEWOULDBLOCK) {
            close_socket();
        }
        return 0;
    }

private:
    void close_socket() {
        if (m_socket != INVALID_SOCKET) {
            ::closesocket(m_socket);
            m_socket = INVALID_SOCKET;
        }
        m_state = State::Closed;
    }

    SOCKET m_socket;
    State m_state;
};

class WinsockTcpClients final : public TcpClients {
public:
    WinsockTcpClients() {
        WSADATA data;
        m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockTcpClients() override {
        if (m_started) {
            ::WSACleanup();
        }
    }

    std::unique_ptr<TcpConnection> connect(const std::string& host, int port) override {
        if (!m_started || port <= 0 || port > 65535) {
            return nullptr;
        }
        const std::string name = host == "localhost" ? "127.0.0.1" : host;
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (::getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 ||
            found == nullptr) {
            return nullptr;
        }
        SOCKET socket = ::socket(found->ai_family, SOCK_STREAM, IPPROTO_TCP);
        if (socket == INVALID_SOCKET) {
            ::freeaddrinfo(found);
            return nullptr;
        }
        u_long non_blocking = 1;
        ::ioctlsocket(socket, FIONBIO, &non_blocking);
        // Commands are a few bytes each and answers are awaited: none is held back.
        BOOL one = TRUE;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one),
                     sizeof one);
        const int result = ::connect(socket, found->ai_addr, static_cast<int>(found->ai_addrlen));
        ::freeaddrinfo(found);
        if (result != 0 && ::WSAGetLastError() != WSAEWOULDBLOCK) {
            ::closesocket(socket);
            return std::make_unique<WinsockTcpConnection>(INVALID_SOCKET, false);
        }
        return std::make_unique<WinsockTcpConnection>(socket, result == 0);
    }

private:
    bool m_started = false;
};

}  // namespace

TcpClients& system_tcp_clients() {
    static WinsockTcpClients clients;
    return clients;
}

}  // namespace vl::platform
