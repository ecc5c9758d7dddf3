// The listener. Every datagram is read whole or dropped and counted; nothing from the
// network is trusted further than the reader has checked it.
#include "digital/DigitalLink.h"

#include <algorithm>
#include <utility>

#include "digital/DigitalContacts.h"
#include "logging/NetRules.h"
#include "logstore/Bands.h"
#include "logstore/Text.h"

namespace vl {

namespace {

constexpr std::size_t kLoggedKept = 32;
constexpr std::size_t kNeededKept = 50;
// Decodes of one period arrive within a second or two of each other: a period has ended
// when a decode of the next arrives, or after this many quiet polls of 100 ms.
constexpr int kQuietPolls = 20;
// At most this many datagrams a poll, so a flood never holds the screens up.
constexpr int kDatagramsPerPoll = 64;

std::string_view news_text(CountryNews news) {
    switch (news) {
        case CountryNews::NewCountry:
            return "new country";
        case CountryNews::NewBand:
            return "new band";
        case CountryNews::NewMode:
            return "new mode";
        default:
            return "";
    }
}

}  // namespace

DigitalSettings parse_digital_settings(std::string_view text) {
    DigitalSettings s;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trim(line);
        at = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = trim(line.substr(0, equals));
        const std::string value(trim(line.substr(equals + 1)));
        if (name == "address" && platform::parse_ipv4(value)) {
            s.address = value;
        } else if (name == "port") {
            const double port = leading_number(value);
            if (port >= 1 && port <= 65535) {
                s.port = static_cast<uint16_t>(port);
            }
        } else if (name == "announcements") {
            s.announcements = value != "off";
        }
    }
    return s;
}

std::string digital_settings_text(const DigitalSettings& s) {
    return "address=" + s.address + "\r\nport=" + std::to_string(s.port) +
           "\r\nannouncements=" + (s.announcements ? "on" : "off") + "\r\n";
}

DigitalLink::DigitalLink(const LoggingContext& ctx, platform::Datagrams* datagrams)
    : m_ctx(ctx), m_datagrams(datagrams) {}

void DigitalLink::start() {
    const std::string path = m_ctx.program_dir + std::string(kDigitalSettingsFile);
    if (auto text = platform::read_whole_file(m_ctx.platform.files, path, 1 << 16)) {
        m_settings = parse_digital_settings(*text);
    }
    if (m_datagrams == nullptr) {
        m_bind_error = "this version has no network";
        return;
    }
    platform::DatagramBind bound = m_datagrams->bind(m_settings.address, m_settings.port);
    m_socket = std::move(bound.socket);
    m_bind_error = bound.error;
}

std::string DigitalLink::listening_text() const {
    const std::string where = m_settings.address + " port " + std::to_string(m_settings.port);
    if (!m_socket) {
        return "Not listening on " + where + ": " + m_bind_error + ".";
    }
    std::string text = "Listening on " + where + ".";
    if (m_dropped > 0) {
        text += " " + std::to_string(m_dropped) + " datagrams could not be read.";
    }
    return text;
}

int64_t DigitalLink::now_ms() const {
    return platform::epoch_ms(m_ctx.platform.clock.utc_now());
}

void DigitalLink::poll() {
    if (m_socket) {
        uint8_t buffer[65536];
        for (int i = 0; i < kDatagramsPerPoll; ++i) {
            platform::DatagramPeer from;
            const auto size = m_socket->receive(buffer, from);
            if (!size) {
                break;
            }
            auto message = wsjtx::read_message(std::span<const uint8_t>(buffer, *size));
            if (!message) {
                ++m_dropped;
                continue;
            }
            m_peer = from;
            m_client_id = message->id;
            hear_client(from, message->id);
            m_schema = std::clamp<uint32_t>(message->schema, 2, wsjtx::kSchema);
            take(*message);
        }
    }
    if (!m_period.empty() && ++m_quiet_polls >= kQuietPolls) {
        end_period();
    }
}

void DigitalLink::take(const wsjtx::Message& message) {
    // A contact the log cannot take is said once, though it comes in both forms, one after
    // the other: WSJT-X keeps its own log of it.
    const bool contact = std::holds_alternative<wsjtx::QsoLogged>(message.body) ||
                         std::holds_alternative<wsjtx::LoggedAdif>(message.body);
    if (!contact) {
        m_refusal_said = false;
    }
    if (auto* qso = std::get_if<wsjtx::QsoLogged>(&message.body)) {
        if (auto entry = logged_entry(*qso)) {
            log_contact(encode(*entry));
        } else {
            refuse_contact();
        }
    } else if (auto* adif = std::get_if<wsjtx::LoggedAdif>(&message.body)) {
        if (auto record = logged_adif_entry(adif->adif)) {
            log_contact(*record);
        } else {
            refuse_contact();
        }
    } else if (auto* status = std::get_if<wsjtx::Status>(&message.body)) {
        follow_status(*status);
    } else if (auto* decode = std::get_if<wsjtx::Decode>(&message.body)) {
        hear_decode(*decode);
    } else if (std::holds_alternative<wsjtx::Clear>(message.body)) {
        m_period.clear();
    }
}

void DigitalLink::refuse_contact() {
    if (!m_refusal_said) {
        m_refusal_said = true;
        m_ctx.platform.sound.beep(platform::Beep::Default);
        say("A contact from WSJT-X was not logged: it has no call or a date the log cannot "
            "hold.");
    }
}

int DigitalLink::band() const {
    if (m_dial_hz > 0) {
        const int band = band_of_frequency(std::to_string(static_cast<double>(m_dial_hz) / 1e6));
        if (band >= 0 && band < kBandCount) {
            return band;
        }
    }
    return m_ctx.log.current_band();
}

void DigitalLink::log_contact(const LogRecord& record) {
    const std::string key = contact_key(record);
    if (std::find(m_logged_keys.begin(), m_logged_keys.end(), key) != m_logged_keys.end()) {
        return;  // the same contact, reported the other way
    }
    const std::string call(trim_right(record.call_field()));
    const int band = band_of_band_field(record.band_field());
    const std::string mode(trim_right(record.mode_field()));
    // The checks are of the log as it was, so the contact is not its own previous one.
    const CheckBooks books{m_ctx.log,
                           m_ctx.countries,
                           m_ctx.chart,
                           band,
                           m_ctx.settings.latitude,
                           m_ctx.settings.longitude,
                           m_ctx.date_format(),
                           m_ctx.frequency_names};
    const PreviousContact previous =
        previous_contact(m_ctx.log, call, {}, books.date_format, books.frequency_names);
    const CountryCheck country = check_country(m_ctx.countries, m_ctx.chart, call, band, mode,
                                               books.latitude, books.longitude);
    const std::string verdict = contact_verdict(m_ctx.log, previous, country);
    const LogStatus status = m_ctx.log.write_entry(m_ctx.log.count() + 1, record);
    if (status != LogStatus::Ok) {
        m_ctx.platform.sound.beep(platform::Beep::Default);
        say(call + " was not logged: " +
            (status == LogStatus::Full ? "the log is full." : "the log could not be written."));
        return;
    }
    m_logged_keys.push_back(key);
    m_refusal_said = false;
    if (m_logged_keys.size() > kLoggedKept) {
        m_logged_keys.pop_front();
    }
    if (!trim(record.rst_received_field()).empty() && band >= 0 && band < kBandCount) {
        m_ctx.chart.mark(m_ctx.countries.find(call), band, mode_class(mode), 0);
        keep_chart(m_ctx);
    }
    std::string sentence = "Logged " + call;
    if (band >= 0 && band < kBandCount) {
        sentence += ", " + std::string(kSpokenBandNames[band]);
    }
    sentence += (mode.empty() ? "" : " " + mode) + ". " + verdict;
    if (m_view != nullptr) {
        m_view->contact_logged(previous, country);
    }
    say(sentence);
}

void DigitalLink::follow_status(const wsjtx::Status& status) {
    const bool changed = status.dial_hz != m_dial_hz || status.mode != m_dial_mode;
    m_dial_hz = status.dial_hz;
    m_dial_mode = status.mode;
    if (changed && m_view != nullptr && !m_ctx.rig_control.ready()) {
        m_view->dial_changed(status.dial_hz, digital_log_mode(status.mode));
    }
}

void DigitalLink::hear_decode(const wsjtx::Decode& decode) {
    const auto call = cq_caller(decode.message);
    if (!call) {
        return;
    }
    const std::string mode = digital_log_mode(m_dial_mode);
    const CountryCheck country = check_country(m_ctx.countries, m_ctx.chart, *call, band(), mode,
                                               m_ctx.settings.latitude, m_ctx.settings.longitude);
    if (country.dxcc < 1 || country.news == CountryNews::None) {
        return;
    }
    if (m_period_time && *m_period_time != decode.time_ms && !m_period.empty()) {
        end_period();
    }
    NeededCaller caller{*call,
                        country.name + ", " + std::string(news_text(country.news)),
                        decode,
                        now_ms(),
                        m_peer.value_or(platform::DatagramPeer{}),
                        m_client_id};
    std::erase_if(m_needed, [&](const NeededCaller& c) { return c.call == caller.call; });
    m_needed.push_front(caller);
    if (m_needed.size() > kNeededKept) {
        m_needed.pop_back();
    }
    m_quiet_polls = 0;
    // A decode of a period already said (a late one, or WSJT-X replaying its window) is
    // listed but not said again.
    if (!decode.is_new || (m_said_period && *m_said_period == decode.time_ms)) {
        return;
    }
    m_period_time = decode.time_ms;
    if (std::none_of(m_period.begin(), m_period.end(),
                     [&](const NeededCaller& c) { return c.call == caller.call; })) {
        m_period.push_back(std::move(caller));
    }
}

void DigitalLink::end_period() {
    m_said_period = m_period_time;
    std::vector<NeededCaller> period = std::move(m_period);
    m_period.clear();
    m_quiet_polls = 0;
    if (!m_settings.announcements || period.empty()) {
        return;
    }
    std::string sentence = "CQ:";
    for (const NeededCaller& caller : period) {
        sentence += " " + caller.call + ", " + caller.country + ".";
    }
    say(sentence);
}

void DigitalLink::say(std::string_view sentence) {
    if (m_view != nullptr) {
        m_view->say(sentence);
    }
}

DigitalView* DigitalLink::attach(DigitalView* view) {
    return std::exchange(m_view, view);
}

void DigitalLink::save_settings() {
    if (!platform::replace_file(m_ctx.platform.files,
                                m_ctx.program_dir + std::string(kDigitalSettingsFile),
                                digital_settings_text(m_settings))) {
        say("DIGITAL.TXT could not be written; the setting lasts until Varrow Log closes.");
    }
}

bool DigitalLink::toggle_announcements(std::string& said) {
    m_settings.announcements = !m_settings.announcements;
    m_period.clear();
    said = m_settings.announcements ? "Needed callers announced." : "Needed callers silent.";
    save_settings();
    return true;
}

void DigitalLink::hear_client(const platform::DatagramPeer& from, const std::string& id) {
    for (Client& client : m_clients) {
        if (client.peer == from) {
            client.id = id;
            return;
        }
    }
    // A handful of programs at most; one restarted on a new port replaces the oldest.
    if (m_clients.size() >= 8) {
        m_clients.erase(m_clients.begin());
    }
    m_clients.push_back({from, id});
}

// Every program heard is told to stop: the operator who presses the key wants no
// transmitter left on, whichever one it is.
bool DigitalLink::halt(std::string& said) {
    if (m_clients.empty() || !m_socket) {
        said = "WSJT-X has not been heard.";
        return false;
    }
    int sent = 0;
    for (const Client& client : m_clients) {
        const std::string bytes = wsjtx::halt_datagram(client.id, m_schema, false);
        sent +=
            m_socket->send(client.peer,
                           std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
                ? 1
                : 0;
    }
    if (sent == 0) {
        said = "The halt could not be sent.";
        return false;
    }
    said = "Transmitting halted.";
    return true;
}

bool DigitalLink::reply(const NeededCaller& caller, std::string& said) {
    if (!m_socket) {
        said = "WSJT-X has not been heard.";
        return false;
    }
    // To the program that decoded the caller, should two run at once.
    const std::string bytes = wsjtx::reply_datagram(caller.client_id, m_schema, caller.decode);
    if (!m_socket->send(caller.peer,
                        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))) {
        said = "The call could not be sent.";
        return false;
    }
    said = "Calling " + caller.call + ".";
    return true;
}

}  // namespace vl
