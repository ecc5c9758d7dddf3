// The datagram reader and the contacts it gives. The golden datagrams were built field by
// field from WSJT-X's documented layouts by tests/digital/wsjtx_datagrams.py, not by the
// program's own writer.
#include <gtest/gtest.h>

#include "digital/DigitalContacts.h"
#include "digital/DigitalLink.h"
#include "digital/WsjtxMessages.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"

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

constexpr std::string_view kStatus =
    "adbccbda00000003000000010000000657534a542d580000000000d6c0900000000346543800000000000000032d"
    "313000000003465438010000000005dc000005dc00000005473441424300000004494f393100000000000000000"
    "00000ffffffff0000000f0000000744656661756c7400000000";
constexpr std::string_view kDecode =
    "adbccbda00000003000000020000000657534a542d5801042f2ac0fffffff43fc999999999999a000004d200000001"
    "7e000000114351204458204a413158595a20504d39350000";
constexpr std::string_view kQsoLogged =
    "adbccbda00000003000000050000000657534a542d580000000000258ec804304fb801000000064a413158595a0000"
    "0004504d39350000000000d6c66c00000003465438000000032d3130000000032d3132000000033130300000000000"
    "0000045461726f0000000000258ec8042f2ac00100000005473441424300000005473441424300000004494f393100"
    "0000000000000000000000";
constexpr std::string_view kLoggedAdif =
    "adbccbda000000030000000c0000000657534a542d58000000b50a3c616469665f7665723a353e332e312e300a3c70"
    "726f6772616d69643a363e57534a542d580a3c454f483e0a3c63616c6c3a353e4b31414243203c6d6f64653a343e"
    "4d46534b203c7375626d6f64653a333e465434203c71736f5f646174653a383e3230323631323039203c74696d65"
    "5f6f6e3a363e313933303030203c667265713a393e32312e313430353030203c7273745f73656e743a333e2d3035"
    "203c7273745f726376643a333e2d3038203c454f523e";

TEST(WsjtxMessages, StatusDecodeAndClearAreRead) {
    auto status = read(kStatus);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->id, "WSJT-X");
    EXPECT_EQ(status->schema, 3u);
    const auto& s = std::get<wsjtx::Status>(status->body);
    EXPECT_EQ(s.dial_hz, 14074000u);
    EXPECT_EQ(s.mode, "FT8");
    EXPECT_EQ(s.report, "-10");
    EXPECT_TRUE(s.tx_enabled);

    auto decode = read(kDecode);
    ASSERT_TRUE(decode);
    const auto& d = std::get<wsjtx::Decode>(decode->body);
    EXPECT_TRUE(d.is_new);
    EXPECT_EQ(d.time_ms, 70200000u);
    EXPECT_EQ(d.snr, -12);
    EXPECT_DOUBLE_EQ(d.delta_time, 0.2);
    EXPECT_EQ(d.delta_frequency, 1234u);
    EXPECT_EQ(d.mode, "~");
    EXPECT_EQ(d.message, "CQ DX JA1XYZ PM95");

    // A null id reads as an empty one.
    auto clear = read("adbccbda0000000300000003ffffffff");
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->id, "");
    EXPECT_TRUE(std::holds_alternative<wsjtx::Clear>(clear->body));
}

TEST(WsjtxMessages, QsoLoggedBecomesTheEntryTheLogHolds) {
    auto message = read(kQsoLogged);
    ASSERT_TRUE(message);
    const auto& q = std::get<wsjtx::QsoLogged>(message->body);
    EXPECT_TRUE(q.time_on.valid);
    EXPECT_EQ(q.time_off.minute, 31);
    EXPECT_EQ(q.time_off.second, 15);
    auto entry = logged_entry(q);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->call, "JA1XYZ      ");
    EXPECT_EQ(entry->date, date_code(126, 12, 9));
    EXPECT_EQ(entry->time_on, time_code_of_text("1930"));
    EXPECT_EQ(entry->time_off, time_code_of_text("1931"));
    EXPECT_EQ(entry->rst_sent, "-10    ");
    EXPECT_EQ(entry->rst_received, "-12    ");
    EXPECT_EQ(band_of_band_field(entry->band_field), 4);
    EXPECT_EQ(entry->mode, "FT8");
    EXPECT_EQ(entry->power, "100  ");
    EXPECT_EQ(entry->comment, "Taro PM95" + std::string(31, ' '));

    // The same contact as ADIF is the same contact.
    auto adif = read(kLoggedAdif);
    ASSERT_TRUE(adif);
    auto record = logged_adif_entry(std::get<wsjtx::LoggedAdif>(adif->body).adif);
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(record->call_field()), "K1ABC       ");
    EXPECT_EQ(std::string(record->mode_field()), "FT4");
    EXPECT_EQ(band_of_band_field(record->band_field()), 6);
}

TEST(WsjtxMessages, BothReportsOfAContactShareItsKey) {
    wsjtx::QsoLogged q;
    q.dx_call = "K1ABC";
    q.time_on = {true, 2026, 12, 9, 19, 30, 0};
    q.time_off = {true, 2026, 12, 9, 19, 31, 0};
    q.tx_hz = 21140500;
    q.mode = "FT4";
    const auto fields = logged_entry(q);
    ASSERT_TRUE(fields);
    const auto adif = logged_adif_entry(std::get<wsjtx::LoggedAdif>(read(kLoggedAdif)->body).adif);
    EXPECT_EQ(contact_key(encode(*fields)), contact_key(*adif));
    q.tx_hz = 14074000;
    EXPECT_NE(contact_key(encode(*logged_entry(q))), contact_key(*adif));
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
        "",
        "adbccbdb0000000300000003ffffffff",      // wrong magic
        "adbccbda00000003000000",                // cut inside the type
        "adbccbda000000030000000300000009574a",  // an id longer than what is left
        // a status cut inside its mode
        "adbccbda00000003000000010000000657534a542d580000000000d6c090000000034654",
    };
    for (std::string_view hex : rows) {
        EXPECT_FALSE(read(hex)) << hex;
    }
    // Every cut of a logged contact fails but two kinds: the one that ends where the oldest
    // clients stop, before the time on (byte 101), and those inside the fields after the time
    // on (from byte 114), which this reader does not take.
    const auto whole = bytes_of(kQsoLogged);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        auto m = wsjtx::read_message(std::span(whole.data(), size));
        EXPECT_EQ(m.has_value(), size == 101 || size >= 114) << size;
        if (m) {
            EXPECT_EQ(std::get<wsjtx::QsoLogged>(m->body).time_on.valid, size >= 114) << size;
        }
    }
}

TEST(WsjtxMessages, UnknownTypesAndExtraFieldsAreIgnored) {
    auto unknown = read("adbccbda0000000300000063000000044a5444580102");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->type, 99u);
    EXPECT_EQ(unknown->id, "JTDX");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(unknown->body));
    auto extra = read(std::string(kDecode) + "0000000541424344450102");
    ASSERT_TRUE(extra);
    EXPECT_EQ(std::get<wsjtx::Decode>(extra->body).message, "CQ DX JA1XYZ PM95");
}

TEST(WsjtxMessages, ReplyAndHaltAreLaidOutAsDocumented) {
    auto decode = std::get<wsjtx::Decode>(read(kDecode)->body);
    // Reply: the decode's time, snr, dt, df, mode and message, low confidence, no modifiers.
    const auto reply = bytes_of(
        "adbccbda00000003000000040000000657534a542d58042f2ac0fffffff43fc999999999999a000004d20000"
        "00017e000000114351204458204a413158595a20504d39350000");
    EXPECT_EQ(wsjtx::reply_datagram("WSJT-X", 3, decode), std::string(reply.begin(), reply.end()));
    const auto halt = bytes_of("adbccbda00000002000000080000000657534a542d5800");
    EXPECT_EQ(wsjtx::halt_datagram("WSJT-X", 2, false), std::string(halt.begin(), halt.end()));
}

TEST(WsjtxMessages, TheCallerOfACq) {
    const std::pair<std::string_view, std::optional<std::string>> rows[] = {
        {"CQ JA1XYZ PM95", "JA1XYZ"},
        {"CQ DX VK2ABC QF56", "VK2ABC"},
        {"CQ POTA K1ABC FN42", "K1ABC"},
        {"CQ <PJ4/K1ABC>", "PJ4/K1ABC"},
        {"QRZ G4XYZ IO91", "G4XYZ"},
        {"G4ABC JA1XYZ -12", std::nullopt},
        {"CQ", std::nullopt},
        {"CQ DX NA EU", std::nullopt},
        {"  CQ  F5ABC  JN18", "F5ABC"}};
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
