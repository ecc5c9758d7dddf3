// The daemons' connections and the two clients' questions and answers.
#include "hamlib/HamlibClient.h"

#include <array>
#include <cmath>
#include <utility>

namespace vl::hamlib {

namespace {

constexpr std::string_view kUnavailable = "not available";
constexpr std::string_view kUnreadable = "gave an answer that could not be read";
constexpr std::string_view kSilent = "does not answer";
// Enough for a burst of replies; the rest waits for the next poll.
constexpr std::size_t kReadPerPoll = 4096;

}  // namespace

std::string Address::spoken() const {
    return host + " port " + std::to_string(port);
}

Connection::Connection(platform::TcpClients* tcp, Address address, std::string service,
                       int retry_polls, int silent_polls)
    : m_tcp(tcp),
      m_address(std::move(address)),
      m_service(std::move(service)),
      m_retry_polls(retry_polls),
      m_silent_polls(silent_polls) {}

bool Connection::ready() {
    if (m_starting > 0) {
        --m_starting;
    }
    if (!m_connection) {
        if (m_wait > 0) {
            --m_wait;
            return false;
        }
        m_lines.clear();
        m_connecting = 0;
        m_silent = 0;
        m_connection = m_tcp ? m_tcp->connect(m_address.host, m_address.port) : nullptr;
        if (!m_connection) {
            fail(kUnavailable);
            return false;
        }
    }
    switch (m_connection->state()) {
        case platform::TcpConnection::State::Open:
            m_open = true;
            return true;
        case platform::TcpConnection::State::Connecting:
            if (++m_connecting >= m_silent_polls) {
                fail(kUnavailable);
            }
            return false;
        case platform::TcpConnection::State::Closed:
            break;
    }
    if (m_open) {
        // A connection that worked and was ended is made again at once; only a daemon that
        // then cannot be reached is said.
        drop();
        m_wait = 0;
        return ready();
    }
    fail(kUnavailable);
    return false;
}

std::optional<std::string> Connection::line() {
    if (!m_connection) {
        return std::nullopt;
    }
    auto line = m_lines.next();
    if (!line) {
        std::array<std::uint8_t, 512> bytes{};
        std::size_t total = 0;
        while (total < kReadPerPoll) {
            const std::size_t got = m_connection->read(bytes);
            if (got == 0) {
                break;
            }
            total += got;
            if (!m_lines.add(std::span(bytes).first(got))) {
                fail(kUnreadable);
                return std::nullopt;
            }
        }
        line = m_lines.next();
        if (!line && m_connection->state() == platform::TcpConnection::State::Closed) {
            // Ended by the daemon: made again at the next poll, said only if that fails.
            drop();
            m_wait = 0;
        }
    }
    if (line) {
        m_silent = 0;
    }
    return line;
}

bool Connection::send(std::string_view command) {
    if (!m_connection) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(command.data());
    if (m_connection->write(std::span(bytes, command.size())) != command.size()) {
        // Half a command would spoil every answer after it.
        fail(kUnavailable);
        return false;
    }
    return true;
}

bool Connection::too_silent() {
    if (++m_silent < m_silent_polls) {
        return false;
    }
    fail(kSilent);
    return true;
}

void Connection::trouble(std::string_view why) {
    if (!m_troubled) {
        m_troubled = true;
        m_notice =
            "Hamlib " + m_service + " at " + m_address.spoken() + " " + std::string(why) + ".";
    }
}

void Connection::fail(std::string_view why) {
    if (m_starting == 0 || why != kUnavailable) {
        trouble(why);
    }
    drop();
}

void Connection::drop() {
    m_connection.reset();
    m_open = false;
    m_wait = m_retry_polls;
}

std::string Connection::take_notice() {
    return std::exchange(m_notice, {});
}

// The rig is asked once a second: a second attempt after a failure comes at the next poll.
RigClient::RigClient(platform::TcpClients* tcp, Address address, bool starting)
    : m_connection(tcp, std::move(address), "rig control", 0, 5) {
    if (starting) {
        m_connection.give_time(5);
    }
}

std::optional<RigState> RigClient::poll() {
    if (!m_connection.ready()) {
        m_expected.clear();
        m_complete = false;
        return std::nullopt;
    }
    while (auto line = m_connection.line()) {
        if (!take(*line)) {
            break;
        }
    }
    // An answer read whole counts even when what came after it ended the connection.
    std::optional<RigState> result;
    if (m_complete) {
        result = m_state;
        m_complete = false;
    }
    if (!m_connection.is_open()) {
        m_expected.clear();
        return result;
    }
    if (!m_expected.empty()) {
        if (m_connection.too_silent()) {
            m_expected.clear();
        }
        return result;
    }
    m_state = {};
    if (m_connection.send("f\nm\n")) {
        m_expected = {Reply::Frequency, Reply::Mode, Reply::Passband};
    }
    return result;
}

bool RigClient::take(const std::string& line) {
    if (m_expected.empty()) {
        m_connection.fail(kUnreadable);
        return false;
    }
    const Reply reply = m_expected.front();
    m_expected.pop_front();
    const std::optional<int> code = report_code(line);
    bool parsed = true;
    switch (reply) {
        case Reply::Frequency:
            if (!code) {
                m_state.hertz = hertz_of(line);
                parsed = m_state.hertz.has_value();
            }
            break;
        case Reply::Mode:
            if (code) {
                if (!m_expected.empty() && m_expected.front() == Reply::Passband) {
                    m_expected.pop_front();  // no passband follows an error
                }
            } else {
                const auto name = mode_name_of(line);
                m_state.mode = name.value_or("");
                parsed = name.has_value();
            }
            break;
        case Reply::Passband:
            parsed = passband_of(line).has_value();
            break;
    }
    if (!parsed) {
        m_connection.fail(kUnreadable);
        return false;
    }
    if (code && *code != 0) {
        m_connection.trouble("could not read the radio");
    }
    if (m_expected.empty()) {
        m_complete = true;
        if (m_state.hertz && !m_state.mode.empty()) {
            m_connection.settled();
        }
    }
    return true;
}

// The rotator is asked ten times a second: a failed daemon is tried again each second, and an
// answer may take five seconds, as the serial box's may.
RotatorClient::RotatorClient(platform::TcpClients* tcp, Address address, bool starting)
    : m_connection(tcp, std::move(address), "rotator control", 10, 50) {
    if (starting) {
        m_connection.give_time(50);
    }
}

std::optional<RotatorState> RotatorClient::poll() {
    if (!m_connection.ready()) {
        m_expected.clear();
        return std::nullopt;
    }
    std::optional<RotatorState> position;
    while (auto line = m_connection.line()) {
        if (!take(*line, position)) {
            break;
        }
    }
    if (!m_connection.is_open()) {
        m_expected.clear();
        return position;
    }
    if (!m_expected.empty()) {
        if (m_connection.too_silent()) {
            m_expected.clear();
        }
        return position;
    }
    if (m_connection.send("p\n")) {
        m_expected = {Reply::Azimuth, Reply::Elevation};
    }
    return position;
}

bool RotatorClient::turn(int azimuth) {
    if (!m_connection.is_open()) {
        return false;
    }
    const int elevation = static_cast<int>(std::lround(m_state.elevation));
    if (!m_connection.send("P " + std::to_string(azimuth) + " " + std::to_string(elevation) +
                           "\n")) {
        m_expected.clear();
        return false;
    }
    m_expected.push_back(Reply::Report);
    return true;
}

bool RotatorClient::take(const std::string& line, std::optional<RotatorState>& position) {
    if (m_expected.empty()) {
        m_connection.fail(kUnreadable);
        return false;
    }
    const Reply reply = m_expected.front();
    m_expected.pop_front();
    const std::optional<int> code = report_code(line);
    const std::optional<double> degrees = degrees_of(line);
    bool parsed = true;
    switch (reply) {
        case Reply::Azimuth:
            if (code) {
                if (!m_expected.empty() && m_expected.front() == Reply::Elevation) {
                    m_expected.pop_front();  // no elevation follows an error
                }
            } else if (degrees) {
                m_state.azimuth = *degrees;
            } else {
                parsed = false;
            }
            break;
        case Reply::Elevation:
            if (degrees) {
                m_state.elevation = *degrees;
                position = m_state;
                m_connection.settled();
            } else {
                parsed = false;
            }
            break;
        case Reply::Report:
            parsed = code.has_value();
            break;
    }
    if (!parsed) {
        m_connection.fail(kUnreadable);
        return false;
    }
    if (code && *code != 0) {
        m_connection.trouble(reply == Reply::Report ? "refused the bearing"
                                                    : "could not read the rotator");
    }
    return true;
}

}  // namespace vl::hamlib
