// UDP through Winsock, non-blocking.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "platform/Datagrams.h"

namespace vl::platform {

namespace {

class WinsockSocket final : public DatagramSocket {
public:
    explicit WinsockSocket(SOCKET s) : m_socket(s) {}
    ~WinsockSocket() override { closesocket(m_socket); }

    std::optional<std::size_t> receive(std::span<uint8_t> buffer, DatagramPeer& from) override {
        sockaddr_in peer{};
        int length = sizeof peer;
        const int got = recvfrom(m_socket, reinterpret_cast<char*>(buffer.data()),
                                 static_cast<int>(buffer.size()), 0,
                                 reinterpret_cast<sockaddr*>(&peer), &length);
        // A datagram larger than the buffer is cut (WSAEMSGSIZE) and still read.
        if (got < 0 && WSAGetLastError() != WSAEMSGSIZE) {
            return std::nullopt;
        }
        from.address = ntohl(peer.sin_addr.s_addr);
        from.port = ntohs(peer.sin_port);
        return got < 0 ? buffer.size() : static_cast<std::size_t>(got);
    }

    bool send(const DatagramPeer& to, std::span<const uint8_t> bytes) override {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_addr.s_addr = htonl(to.address);
        peer.sin_port = htons(to.port);
        return sendto(m_socket, reinterpret_cast<const char*>(bytes.data()),
                      static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&peer),
                      sizeof peer) == static_cast<int>(bytes.size());
    }

private:
    SOCKET m_socket;
};

class WinsockDatagrams final : public Datagrams {
public:
    DatagramBind bind(const std::string& address, uint16_t port) override {
        DatagramBind result;
        const auto ip = parse_ipv4(address);
        if (!ip) {
            result.error = address + " is not an address";
            return result;
        }
        WSADATA data;
        if (!m_started && WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            result.error = "no network";
            return result;
        }
        m_started = true;
        const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        if (s == INVALID_SOCKET) {
            result.error = "no socket";
            return result;
        }
        u_long non_blocking = 1;
        ioctlsocket(s, FIONBIO, &non_blocking);
        const bool group = is_multicast(*ip);
        if (group) {
            const BOOL on = TRUE;
            setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
        } else {
            // Windows lets a second program take a bound port unless it is held exclusively.
            const BOOL on = TRUE;
            setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                       sizeof on);
        }
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = group ? htonl(INADDR_ANY) : htonl(*ip);
        if (::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            result.error = WSAGetLastError() == WSAEADDRINUSE || WSAGetLastError() == WSAEACCES
                               ? "the port is in use"
                               : "the address is not here";
            closesocket(s);
            return result;
        }
        if (group) {
            bool joined = false;
            for (uint32_t interface : {uint32_t{INADDR_LOOPBACK}, uint32_t{INADDR_ANY}}) {
                ip_mreq request{};
                request.imr_multiaddr.s_addr = htonl(*ip);
                request.imr_interface.s_addr = htonl(interface);
                joined |= setsockopt(s, IPPROTO_IP, IP_ADD_MEMBERSHIP,
                                     reinterpret_cast<const char*>(&request), sizeof request) == 0;
            }
            if (!joined) {
                result.error = "the group could not be joined";
                closesocket(s);
                return result;
            }
        }
        result.socket = std::make_unique<WinsockSocket>(s);
        return result;
    }

private:
    bool m_started = false;
};

}  // namespace

Datagrams* system_datagrams() {
    static WinsockDatagrams datagrams;
    return &datagrams;
}

}  // namespace vl::platform
