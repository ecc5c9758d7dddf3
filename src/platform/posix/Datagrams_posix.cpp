// UDP through BSD sockets, non-blocking.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Datagrams.h"

namespace vl::platform {

namespace {

class PosixSocket final : public DatagramSocket {
public:
    explicit PosixSocket(int fd) : m_fd(fd) {}
    ~PosixSocket() override { ::close(m_fd); }

    std::optional<std::size_t> receive(std::span<uint8_t> buffer, DatagramPeer& from) override {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const ssize_t got = ::recvfrom(m_fd, buffer.data(), buffer.size(), MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&peer), &length);
        if (got < 0) {
            return std::nullopt;
        }
        from.address = ntohl(peer.sin_addr.s_addr);
        from.port = ntohs(peer.sin_port);
        // MSG_TRUNC gives the datagram's whole length; what the buffer holds is what counts.
        return std::min(static_cast<std::size_t>(got), buffer.size());
    }

    bool send(const DatagramPeer& to, std::span<const uint8_t> bytes) override {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_addr.s_addr = htonl(to.address);
        peer.sin_port = htons(to.port);
        return ::sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&peer),
                        sizeof peer) == static_cast<ssize_t>(bytes.size());
    }

private:
    int m_fd;
};

class PosixDatagrams final : public Datagrams {
public:
    DatagramBind bind(const std::string& address, uint16_t port) override {
        DatagramBind result;
        const auto ip = parse_ipv4(address);
        if (!ip) {
            result.error = address + " is not an address";
            return result;
        }
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            result.error = "no socket";
            return result;
        }
        const bool group = is_multicast(*ip);
        // A multicast group is shared by every program that listens to it; a plain port is
        // not, so a second logger on it is told rather than left deaf.
        if (group) {
            const int on = 1;
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        }
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = group ? htonl(INADDR_ANY) : htonl(*ip);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            result.error = errno == EADDRINUSE ? "the port is in use" : "the address is not here";
            ::close(fd);
            return result;
        }
        if (group) {
            bool joined = false;
            for (uint32_t interface : {uint32_t{INADDR_LOOPBACK}, uint32_t{INADDR_ANY}}) {
                ip_mreq request{};
                request.imr_multiaddr.s_addr = htonl(*ip);
                request.imr_interface.s_addr = htonl(interface);
                joined |=
                    ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
            }
            if (!joined) {
                result.error = "the group could not be joined";
                ::close(fd);
                return result;
            }
        }
        result.socket = std::make_unique<PosixSocket>(fd);
        return result;
    }
};

}  // namespace

Datagrams* system_datagrams() {
    static PosixDatagrams datagrams;
    return &datagrams;
}

}  // namespace vl::platform
