// Fuzz target: any bytes from rigctld or rotctld, arriving in chunks of any size with empty
// polls between them and the connection ended when they run out. The clients must not crash,
// must keep what they hold bounded, and must hand on only frequencies, modes and positions
// that passed their checks.
#include <string>

#include "Fuzz.h"
#include "hamlib/HamlibClient.h"

namespace {

// The daemon's side: each read takes the next chunk; an empty chunk is a poll with nothing.
class FuzzedConnection final : public vl::platform::TcpConnection {
public:
    explicit FuzzedConnection(vl::fuzz::Chunks bytes) : m_bytes(bytes) {}
    State state() override {
        return m_bytes.rest.empty() && m_read_once ? State::Closed : State::Open;
    }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        // The daemon speaks when spoken to.
        if (!m_asked || m_empty_next) {
            m_empty_next = false;
            return 0;
        }
        m_read_once = true;
        const std::size_t taken = m_bytes.read(buffer);
        m_empty_next = taken != 0;
        return taken;
    }
    std::size_t write(std::span<const std::uint8_t> bytes) override {
        m_asked = true;
        return bytes.size();
    }

private:
    vl::fuzz::Chunks m_bytes;
    bool m_asked = false;
    bool m_read_once = false;
    bool m_empty_next = false;
};

// Every connection made hears the same bytes from the start.
class FuzzedClients final : public vl::platform::TcpClients {
public:
    explicit FuzzedClients(vl::fuzz::Chunks bytes) : m_bytes(bytes) {}
    std::unique_ptr<vl::platform::TcpConnection> connect(const std::string&, int) override {
        return std::make_unique<FuzzedConnection>(m_bytes);
    }

private:
    vl::fuzz::Chunks m_bytes;
};

}  // namespace

using vl::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    FuzzedClients clients({std::span(data + 1, size - 1), data[0] % 64 + 1u});
    vl::hamlib::RigClient rig(&clients, {"localhost", vl::hamlib::kRigPort});
    vl::hamlib::RotatorClient rotator(&clients, {"localhost", vl::hamlib::kRotatorPort});
    for (std::size_t poll = 0; poll < 2 * size + 20; ++poll) {
        if (const auto state = rig.poll()) {
            require(!state->hertz || (*state->hertz >= 1 && *state->hertz <= 1'000'000'000'000));
            require(state->mode.size() <= 12);
            const std::string mode = vl::hamlib::log_mode_of(state->mode, "USB", "FT8");
            require(mode.size() <= 3);
            require(!state->hertz || vl::hamlib::megahertz_text(*state->hertz).size() <= 16);
        }
        if (const auto position = rotator.poll()) {
            require(position->azimuth >= -720 && position->azimuth <= 720);
        }
        if (poll % 7 == 0) {
            rotator.turn(static_cast<int>(poll % 360));
        }
        require(rig.take_notice().size() < 200 && rotator.take_notice().size() < 200);
    }
    return 0;
}
