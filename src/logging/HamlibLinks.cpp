// The transceiver and rotator links through Hamlib's daemons.
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "hamlib/HamlibClient.h"
#include "logging/LoggingContext.h"
#include "logging/StationLinks.h"

namespace vl {

namespace {

class HamlibRig final : public RigLink {
public:
    HamlibRig(platform::TcpClients* tcp, hamlib::Address address, bool starting)
        : m_client(tcp, std::move(address), starting) {}

    RigReading poll() override {
        RigReading reading;
        if (const auto state = m_client.poll()) {
            if (state->hertz) {
                reading.frequency = hamlib::megahertz_text(*state->hertz);
            }
            reading.radio_mode = state->mode;
        }
        return reading;
    }
    std::string take_notice() override { return m_client.take_notice(); }

private:
    hamlib::RigClient m_client;
};

class HamlibRotator final : public RotatorLink {
public:
    HamlibRotator(platform::TcpClients* tcp, hamlib::Address address, bool starting)
        : m_tcp(tcp), m_address(std::move(address)), m_starting(starting) {}

    // The connection is made by the polls that follow; a daemon that cannot be reached is
    // reported as the box's silence is.
    bool open() override {
        m_client.emplace(m_tcp, m_address, std::exchange(m_starting, false));
        m_last.reset();
        m_movement_reports = 0;
        return true;
    }
    void close() override { m_client.reset(); }
    bool is_open() const override { return m_client && m_client->is_open(); }

    RotatorEvents poll() override {
        RotatorEvents events;
        if (!m_client) {
            return events;
        }
        if (const auto position = m_client->poll()) {
            const int heading =
                (static_cast<int>(std::lround(position->azimuth)) % 360 + 360) % 360;
            events.heading = std::to_string(heading);
            // The daemon has no "at rest": a heading that changed is the antenna moving.
            if (m_last && *m_last != heading) {
                events.beep = m_movement_reports == 4;
                m_movement_reports = events.beep ? 0 : m_movement_reports + 1;
            }
            m_last = heading;
        }
        std::string notice = m_client->take_notice();
        if (!notice.empty()) {
            events.no_response = true;
            events.why = std::move(notice);
        }
        return events;
    }

    void turn(std::string_view bearing) override {
        int degrees = 0;
        auto [end, error] =
            std::from_chars(bearing.data(), bearing.data() + bearing.size(), degrees);
        if (m_client && error == std::errc() && end == bearing.data() + bearing.size()) {
            m_client->turn(degrees);
        }
    }
    int largest_bearing() const override { return 359; }

private:
    platform::TcpClients* m_tcp;
    hamlib::Address m_address;
    bool m_starting;  // the program started the daemon: the first opening gives it time
    std::optional<hamlib::RotatorClient> m_client;
    std::optional<int> m_last;
    int m_movement_reports = 0;
};

}  // namespace

std::unique_ptr<RigLink> hamlib_rig(const LoggingContext& ctx, const hamlib::Daemon& daemon) {
    return std::make_unique<HamlibRig>(ctx.platform.tcp, daemon.address, !daemon.model.empty());
}

std::unique_ptr<RotatorLink> hamlib_rotator(const LoggingContext& ctx,
                                            const hamlib::Daemon& daemon) {
    return std::make_unique<HamlibRotator>(ctx.platform.tcp, daemon.address, !daemon.model.empty());
}

}  // namespace vl
