// The datagrams WSJT-X and JTDX exchange with a logger: a big-endian Qt data stream of a
// magic number, a schema number, the message type, the client's id and the type's fields.
// Pure: no sockets. Fields past those read here are ignored, as the protocol asks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vl::wsjtx {

inline constexpr uint32_t kMagic = 0xadbccbda;
// The highest schema this reader knows (Qt 5.4 streams); newer clients step down to it.
inline constexpr uint32_t kSchema = 3;

enum MessageType : uint32_t {
    kHeartbeat = 0,
    kStatus = 1,
    kDecode = 2,
    kClear = 3,
    kReply = 4,
    kQsoLogged = 5,
    kClose = 6,
    kHaltTx = 8,
    kLoggedAdif = 12,
};

// A QDateTime as WSJT-X sends it; `valid` is false for a null date or time.
struct UtcTime {
    bool valid = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct Status {
    uint64_t dial_hz = 0;
    std::string mode, dx_call, report, tx_mode;
    bool tx_enabled = false, transmitting = false, decoding = false;
};

struct Decode {
    bool is_new = false;
    uint32_t time_ms = 0;  // since midnight UTC; 0xffffffff for a null time
    int32_t snr = 0;
    double delta_time = 0;
    uint32_t delta_frequency = 0;
    std::string mode, message;
    bool low_confidence = false;
};

struct QsoLogged {
    UtcTime time_off;
    std::string dx_call, dx_grid;
    uint64_t tx_hz = 0;
    std::string mode, report_sent, report_received, tx_power, comments, name;
    UtcTime time_on;  // absent in the oldest clients
};

struct LoggedAdif {
    std::string adif;
};

struct Clear {};

struct Message {
    uint32_t schema = 0;
    uint32_t type = 0;
    std::string id;
    // monostate: a type this program does not read, or one it only needs the id of.
    std::variant<std::monostate, Status, Decode, QsoLogged, LoggedAdif, Clear> body;
};

// The message a datagram holds, or nothing when it is not one: wrong magic, cut short, a
// string longer than what is left.
std::optional<Message> read_message(std::span<const uint8_t> datagram);

// "Reply": WSJT-X calls the station of `decode`, as a double-click on it would.
std::string reply_datagram(std::string_view id, uint32_t schema, const Decode& decode);
// "Halt Tx": stops transmitting now (auto_only false) or at the end of the period.
std::string halt_datagram(std::string_view id, uint32_t schema, bool auto_only);

// The writer's pieces, shared by the tests' datagrams.
class Writer {
public:
    Writer(uint32_t type, std::string_view id, uint32_t schema);
    Writer& u8(uint8_t v);
    Writer& u32(uint32_t v);
    Writer& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Writer& u64(uint64_t v);
    Writer& boolean(bool v) { return u8(v ? 1 : 0); }
    Writer& real(double v);
    Writer& utf8(std::string_view s);
    Writer& null_utf8() { return u32(0xffffffffu); }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

}  // namespace vl::wsjtx
