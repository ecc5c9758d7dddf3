// The listener for WSJT-X and JTDX: it lives for the whole run, is polled by the main menu's
// timer, logs the contacts they report, follows their dial and gathers the needed callers
// of each receive period into one sentence.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "digital/WsjtxMessages.h"
#include "logging/DigitalModes.h"
#include "logging/LoggingContext.h"
#include "platform/Datagrams.h"

namespace vl {

inline constexpr std::string_view kDigitalSettingsFile = "DIGITAL.TXT";

struct DigitalSettings {
    std::string address = "127.0.0.1";
    uint16_t port = 2237;
    bool announcements = true;
};

DigitalSettings parse_digital_settings(std::string_view text);
std::string digital_settings_text(const DigitalSettings& settings);

// A station calling CQ whose country is needed, as the needed callers' screen lists it.
struct NeededCaller {
    std::string call;
    std::string country;  // "Japan, new band"
    wsjtx::Decode decode;
    int64_t heard_ms = 0;  // the clock's milliseconds when it was decoded
    // The program that decoded it, which a Reply must go to when two run at once.
    platform::DatagramPeer peer;
    std::string client_id;
};

class DigitalLink final : public DigitalModes {
public:
    DigitalLink(const LoggingContext& ctx, platform::Datagrams* datagrams);

    // Reads DIGITAL.TXT and binds; a bind that fails is said on the needed callers' screen.
    void start();
    // Takes every datagram waiting, then says the period's callers once it has ended.
    void poll() override;

    DigitalView* attach(DigitalView* view) override;
    bool toggle_announcements(std::string& said) override;
    bool halt(std::string& said) override;
    void show_needed_callers(platform::WindowId owner) override;

    // For the needed callers' screen.
    const std::deque<NeededCaller>& needed() const { return m_needed; }
    bool reply(const NeededCaller& caller, std::string& said);
    std::string listening_text() const;
    int64_t now_ms() const;

private:
    void hear_client(const platform::DatagramPeer& from, const std::string& id);
    void take(const wsjtx::Message& message);
    void log_contact(const LogRecord& record);
    void refuse_contact();
    void follow_status(const wsjtx::Status& status);
    void hear_decode(const wsjtx::Decode& decode);
    void end_period();
    void say(std::string_view sentence);
    void save_settings();
    int band() const;

    LoggingContext m_ctx;
    platform::Datagrams* m_datagrams;
    DigitalSettings m_settings;
    std::unique_ptr<platform::DatagramSocket> m_socket;
    std::string m_bind_error;
    DigitalView* m_view = nullptr;

    // The client last heard, whose decodes a Reply answers, and every client heard, each
    // of which a halt stops.
    struct Client {
        platform::DatagramPeer peer;
        std::string id;
    };
    std::optional<platform::DatagramPeer> m_peer;
    std::string m_client_id;
    std::vector<Client> m_clients;
    uint32_t m_schema = 2;
    uint64_t m_dial_hz = 0;
    std::string m_dial_mode;
    int m_dropped = 0;
    bool m_refusal_said = false;  // of the contact just reported

    std::deque<std::string> m_logged_keys;  // the contacts logged lately, for the second report
    std::deque<NeededCaller> m_needed;      // newest first
    std::vector<NeededCaller> m_period;     // this period's callers, not yet said
    std::optional<uint32_t> m_period_time;  // the period being gathered
    std::optional<uint32_t> m_said_period;  // the last period said
    int m_quiet_polls = 0;
};

}  // namespace vl
