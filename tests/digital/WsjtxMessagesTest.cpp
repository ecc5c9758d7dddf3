// The datagram reader and the contacts it gives. The golden datagrams were built field by
// field from WSJT-X's documented layouts by tests/digital/wsjtx_datagrams.py, not by the
// program's own writer.
#include <gtest/gtest.h>

#include "digital/DigitalContacts.h"
#include "digital/DigitalLink.h"
#include "digital/WsjtxMessages.h"

namespace vl {
namespace {

std::vector<uint8_t> bytes_of(std::string_view hex) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

std::optional<wsjtx::Message> read(std::string_view hex) {
    const auto bytes = bytes_of(hex);
    return wsjtx::read_message(bytes);
}

constexpr std::string_view kDecode =
    "adbccbda00000003000000020000000657534a542d5801042f2ac0fffffff43fc999999999999a000004d200000001"
    "7e000000114351204458204a413158595a20504d39350000";
constexpr std::string_view kQsoLogged =
    "adbccbda00000003000000050000000657534a542d580000000000258ec804304fb801000000064a413158595a0000"
    "0004504d39350000000000d6c66c00000003465438000000032d3130000000032d3132000000033130300000000000"
    "0000045461726f0000000000258ec8042f2ac00100000005473441424300000005473441424300000004494f393100"
    "0000000000000000000000";

// The status, decode and logged contacts the listener's test sends are checked there: its
// kept log holds each field of the entries, the Reply it reads back repeats the decode's.
TEST(WsjtxMessages, AClearWithANullIdIsRead) {
    // A null id reads as an empty one.
    auto clear = read("adbccbda0000000300000003ffffffff");
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->id, "");
    EXPECT_TRUE(std::holds_alternative<wsjtx::Clear>(clear->body));
}

// Both reports of one contact sharing its key, one entry, is the listener's test's; the band
// is part of the key.
TEST(WsjtxMessages, TheSameCallAndTimeOnAnotherBandIsAnotherContact) {
    auto q = std::get<wsjtx::QsoLogged>(read(kQsoLogged)->body);
    const std::string key = contact_key(encode(*logged_entry(q)));
    q.tx_hz = 21075500;
    EXPECT_NE(contact_key(encode(*logged_entry(q))), key);
}

TEST(WsjtxMessages, ModesAreStoredAsExportAndImportKnowThem) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"FT8", "FT8"}, {"FT4", "FT4"},  {"JT65", "JT6"}, {"JT9", "JT9"}, {"MSK144", "MSK"},
        {"Q65", "Q65"}, {"FST4", "FST"}, {"WSPR", "WSP"}, {"JS8", "JS8"}, {"ft8", "FT8"}};
    for (auto [mode, stored] : rows) {
        EXPECT_EQ(digital_log_mode(mode), stored) << mode;
    }
}

TEST(WsjtxMessages, WhatIsNoMessageGivesNothing) {
    const std::string_view rows[] = {
        "adbccbdb0000000300000003ffffffff",  // wrong magic
        // a status cut inside its mode
        "adbccbda00000003000000010000000657534a542d580000000000d6c090000000034654",
    };
    for (std::string_view hex : rows) {
        EXPECT_FALSE(read(hex)) << hex;
    }
    // Every cut of a logged contact (inside the header, the id or a field) fails but two kinds: the
    // one that ends where the oldest clients stop, before the time on (byte 101), and those inside
    // the fields after the time on (from byte 114), which this reader does not take.
    const auto whole = bytes_of(kQsoLogged);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        auto m = wsjtx::read_message(std::span(whole.data(), size));
        EXPECT_EQ(m.has_value(), size == 101 || size >= 114) << size;
        if (m) {
            EXPECT_EQ(std::get<wsjtx::QsoLogged>(m->body).time_on.valid, size >= 114) << size;
        }
    }
}

// An unknown type read and not counted as unreadable is the listener's test's.
TEST(WsjtxMessages, ExtraFieldsAreIgnored) {
    auto extra = read(std::string(kDecode) + "0000000541424344450102");
    ASSERT_TRUE(extra);
    EXPECT_EQ(std::get<wsjtx::Decode>(extra->body).message, "CQ DX JA1XYZ PM95");
}

// The Reply's layout is compared byte for byte by the listener's test, with schema 3.
TEST(WsjtxMessages, HaltIsSentInTheClientsSchema) {
    const auto halt = bytes_of("adbccbda00000002000000080000000657534a542d5800");
    EXPECT_EQ(wsjtx::halt_datagram("WSJT-X", 2, false), std::string(halt.begin(), halt.end()));
}

// A plain CQ, a CQ DX and a message to another station are the listener's test's decodes.
TEST(WsjtxMessages, TheCallerOfACq) {
    const std::pair<std::string_view, std::optional<std::string>> rows[] = {
        {"CQ POTA K1ABC FN42", "K1ABC"}, {"CQ <PJ4/K1ABC>", "PJ4/K1ABC"},
        {"QRZ G4XYZ IO91", "G4XYZ"},     {"CQ", std::nullopt},
        {"CQ DX NA EU", std::nullopt},   {"  CQ  F5ABC  JN18", "F5ABC"}};
    for (const auto& [message, call] : rows) {
        EXPECT_EQ(cq_caller(message), call) << message;
    }
}

TEST(DigitalSettings, ReadAsWrittenAndBadValuesLeftAtTheirDefaults) {
    struct Row {
        std::string_view text;
        std::string address;
        uint16_t port;
        bool announcements;
    };
    const Row rows[] = {
        {"", "127.0.0.1", 2237, true},
        {"address=239.255.0.1\r\nport=2238\r\nannouncements=off\r\n", "239.255.0.1", 2238, false},
        {"address=239.255.0.1\nport=2238\n", "239.255.0.1", 2238, true},
        {"address=localhost\r\nport=70000\r\n", "127.0.0.1", 2237, true},
        {"address=1.2.3\r\nport=0\r\nannouncements=on\r\n", "127.0.0.1", 2237, true},
        {" address = 10.0.0.5 \r\nnonsense\r\n", "10.0.0.5", 2237, true},
    };
    for (const Row& row : rows) {
        const DigitalSettings s = parse_digital_settings(row.text);
        EXPECT_EQ(s.address, row.address) << row.text;
        EXPECT_EQ(s.port, row.port) << row.text;
        EXPECT_EQ(s.announcements, row.announcements) << row.text;
        EXPECT_EQ(parse_digital_settings(digital_settings_text(s)).address, s.address);
    }
}

}  // namespace
}  // namespace vl
