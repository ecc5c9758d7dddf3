// TCP connections to local services (Hamlib's rigctld and rotctld): one portable interface,
// a socket backend on POSIX systems and a Winsock one on Windows. Nothing here waits: the
// screen's 100 ms timer drives the connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vl::platform {

class TcpConnection {
public:
    enum class State { Connecting, Open, Closed };
    virtual ~TcpConnection() = default;
    // Where the connection stands; a connection being made is looked at, never waited for.
    virtual State state() = 0;
    // Up to buffer.size() bytes that have arrived; 0 when none. A connection the peer ended
    // or that failed reads 0 and is Closed from then on.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // The number of bytes the connection took; a full send queue takes fewer.
    virtual std::size_t write(std::span<const std::uint8_t> bytes) = 0;
};

class TcpClients {
public:
    virtual ~TcpClients() = default;
    // Starts a connection; nothing when the host is not known or no socket can be made.
    // "localhost" and numeric addresses are never looked up; other names are.
    virtual std::unique_ptr<TcpConnection> connect(const std::string& host, int port) = 0;
};

// The system's sockets.
TcpClients& system_tcp_clients();

}  // namespace vl::platform
