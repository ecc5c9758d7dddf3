// Clients of Hamlib's network daemons: rigctld for the transceiver (frequency and mode) and
// rotctld for the rotator (position and turns). Each is driven by the screen's timer and
// never waits; a daemon that is missing, silent, talking nonsense or gone is dropped, said
// once, and tried again.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "hamlib/HamlibReplies.h"
#include "platform/Tcp.h"

namespace vl::hamlib {

inline constexpr int kRigPort = 4532;
inline constexpr int kRotatorPort = 4533;

struct Address {
    std::string host = "localhost";
    int port = kRigPort;
    // "localhost port 4532", as the operator hears it.
    std::string spoken() const;
};

// One daemon's connection: made when due, lines read, commands sent, troubles said once.
class Connection {
public:
    // `service` names it in sentences ("rig control"); `retry_polls` is how many polls pass
    // between attempts, `silent_polls` how long an answer may take.
    Connection(platform::TcpClients* tcp, Address address, std::string service, int retry_polls,
               int silent_polls);

    // Moves the connection on; true when it is open and replies may be read.
    bool ready();
    std::optional<std::string> line();
    // False, and the connection dropped, when the daemon took only part of it.
    bool send(std::string_view command);
    // Counts a poll while replies are awaited; true, with the connection dropped, when the
    // daemon has been silent too long. Any line heard starts the count again.
    bool too_silent();
    // Drops the connection and says why, once until a good reply.
    void fail(std::string_view why);
    // A daemon the program has just started is given `polls` to begin listening before a
    // connection it refuses is said.
    void give_time(int polls) { m_starting = polls; }
    // Says why once, keeping the connection (the daemon answered, but with an error).
    void trouble(std::string_view why);
    // A reply that parsed: the next trouble is said again.
    void settled() { m_troubled = false; }
    bool is_open() const { return m_open; }
    // A sentence to say, once, when it is new.
    std::string take_notice();
    const Address& address() const { return m_address; }

private:
    void drop();

    platform::TcpClients* m_tcp;
    Address m_address;
    std::string m_service;
    int m_retry_polls;
    int m_silent_polls;
    std::unique_ptr<platform::TcpConnection> m_connection;
    ReplyLines m_lines;
    bool m_open = false;
    bool m_troubled = false;
    int m_wait = 0;        // polls before the next attempt
    int m_connecting = 0;  // polls the current attempt has taken
    int m_starting = 0;    // polls left in which a refusal is not said
    int m_silent = 0;      // polls awaiting a reply since a line was heard
    std::string m_notice;
};

struct RigState {
    std::optional<std::int64_t> hertz;
    std::string mode;  // Hamlib's name; empty when not read
};

// rigctld, asked "f" and "m" on each poll (once a second) for what the previous poll's
// questions brought back.
class RigClient {
public:
    // `starting`: the daemon was just started by the program (see Connection::give_time).
    RigClient(platform::TcpClients* tcp, Address address, bool starting = false);
    // The state the daemon reported since the last poll; nothing when none came.
    std::optional<RigState> poll();
    std::string take_notice() { return m_connection.take_notice(); }

private:
    enum class Reply { Frequency, Mode, Passband };
    bool take(const std::string& line);

    Connection m_connection;
    std::deque<Reply> m_expected;
    RigState m_state;
    bool m_complete = false;
};

struct RotatorState {
    double azimuth = 0;
    double elevation = 0;
};

// rotctld, asked "p" on each poll (every 100 ms) and told "P az el" to turn.
class RotatorClient {
public:
    RotatorClient(platform::TcpClients* tcp, Address address, bool starting = false);
    // The position reported since the last poll.
    std::optional<RotatorState> poll();
    // False, and nothing sent, when the daemon is not connected.
    bool turn(int azimuth);
    bool is_open() const { return m_connection.is_open(); }
    std::string take_notice() { return m_connection.take_notice(); }

private:
    enum class Reply { Azimuth, Elevation, Report };
    bool take(const std::string& line, std::optional<RotatorState>& position);

    Connection m_connection;
    std::deque<Reply> m_expected;
    RotatorState m_state;
};

}  // namespace vl::hamlib
