// UDP datagrams, for the programs of the digital modes that report to a logger on a local
// port: bind (joining a multicast group where the address is one), receive without
// waiting, and answer the sender.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace vl::platform {

// Where a datagram came from, kept to answer it.
struct DatagramPeer {
    uint32_t address = 0;  // IPv4, host order
    uint16_t port = 0;
    bool operator==(const DatagramPeer&) const = default;
};

class DatagramSocket {
public:
    virtual ~DatagramSocket() = default;
    // One datagram that has arrived, cut to the buffer; nothing when none is waiting.
    virtual std::optional<std::size_t> receive(std::span<uint8_t> buffer, DatagramPeer& from) = 0;
    virtual bool send(const DatagramPeer& to, std::span<const uint8_t> bytes) = 0;
};

struct DatagramBind {
    std::unique_ptr<DatagramSocket> socket;  // none when the bind failed
    std::string error;                       // why, in a few words
};

class Datagrams {
public:
    virtual ~Datagrams() = default;
    // Binds `address` (dotted IPv4; a multicast group is joined on the loopback and default
    // interfaces, the port shared with other listeners) and `port`.
    virtual DatagramBind bind(const std::string& address, uint16_t port) = 0;
};

// The system's sockets; nothing where the program has none.
Datagrams* system_datagrams();

// The address of "a.b.c.d" in host order, or nothing.
std::optional<uint32_t> parse_ipv4(const std::string& text);
inline bool is_multicast(uint32_t address) {
    return (address >> 28) == 0xE;
}

}  // namespace vl::platform
