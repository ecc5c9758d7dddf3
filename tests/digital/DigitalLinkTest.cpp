// The listener where the runner's test cannot go: a contact whose write fails, and the
// datagrams a screen never sees. The datagrams arrive through a stand-in socket.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "digital/WsjtxMessages.h"
#include "dxdata/DxccChart.h"
#include "platform/Datagrams.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// Hands out its datagrams, one a receive; keeps what the program sends.
class QueuedDatagrams final : public platform::Datagrams {
public:
    std::deque<std::string> incoming;
    std::vector<std::string> sent;

    platform::DatagramBind bind(const std::string&, uint16_t) override {
        struct Socket final : platform::DatagramSocket {
            explicit Socket(QueuedDatagrams& owner) : m_owner(owner) {}
            std::optional<std::size_t> receive(std::span<uint8_t> buffer,
                                               platform::DatagramPeer& from) override {
                if (m_owner.incoming.empty()) {
                    return std::nullopt;
                }
                const std::string d = std::move(m_owner.incoming.front());
                m_owner.incoming.pop_front();
                from = {0x7f000001, 50000};
                const std::size_t n = std::min(d.size(), buffer.size());
                std::copy_n(d.begin(), n, buffer.begin());
                return n;
            }
            bool send(const platform::DatagramPeer&, std::span<const uint8_t> bytes) override {
                m_owner.sent.emplace_back(bytes.begin(), bytes.end());
                return true;
            }
            QueuedDatagrams& m_owner;
        };
        return {std::make_unique<Socket>(*this), {}};
    }
};

std::string qso_logged(std::string_view call) {
    wsjtx::Writer w(wsjtx::kQsoLogged, "WSJT-X", 3);
    // 9 December 2026 (Julian day 2461384), 19:31 UTC.
    w.u64(2461384).u32(70260000).u8(1).utf8(call).utf8("PM95").u64(14075500).utf8("FT8");
    w.utf8("-10").utf8("-12").utf8("100").utf8("").utf8("");
    w.u64(2461384).u32(70200000).u8(1);
    return w.bytes();
}

bool has(const std::vector<std::string>& journal, const std::string& line) {
    return std::find(journal.begin(), journal.end(), line) != journal.end();
}

class DigitalLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "JA,JA,Japan,339,36,140\r\n");
        dir.write("MYLOG.LOG", "");
        dir.write("DXCC.CHT", DxccChart().bytes());
    }
    test::TempDir dir;
    QueuedDatagrams datagrams;
};

// A full disk: the contact is said not logged, with a beep, the log and chart untouched;
// the next contact, once there is room, goes in.
TEST_F(DigitalLinkTest, AContactWhoseWriteFailsIsSaidAndTheLogIsAsItWas) {
    test::FaultyFiles files;
    files.fill_disk(dir.file("MYLOG"));
    datagrams.incoming = {qso_logged("JA1XYZ")};
    test::HeadlessRun run = test::run_program_headless(
        dir.path(), "tick 2\nkey Escape\n", test::TestPrinter::Ready, &files, nullptr, &datagrams);
    EXPECT_TRUE(has(run.journal, "beep default"));
    EXPECT_TRUE(
        has(run.journal, "static \"JA1XYZ was not logged: the log could not be written.\""));
    EXPECT_EQ(dir.read("MYLOG.LOG"), "");
    EXPECT_EQ(dir.read("DXCC.CHT"), DxccChart().bytes());

    datagrams.incoming = {qso_logged("JA1XYZ")};
    test::HeadlessRun again = test::run_program_headless(
        dir.path(), "tick 2\nkey Escape\n", test::TestPrinter::Ready, nullptr, nullptr, &datagrams);
    EXPECT_TRUE(
        has(again.journal, "static \"Logged JA1XYZ, twenty metres FT8. Japan, new country.\""));
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), kRecordSize);
}

// More datagrams than a poll takes are left for the next poll: a flood never holds the
// screens, and none is lost.
TEST_F(DigitalLinkTest, AFloodIsTakenOverSeveralPolls) {
    for (int i = 0; i < 200; ++i) {
        datagrams.incoming.push_back(wsjtx::Writer(wsjtx::kHeartbeat, "WSJT-X", 3).bytes());
    }
    datagrams.incoming.push_back(qso_logged("JA1XYZ"));
    const std::string logged = "static \"Logged JA1XYZ, twenty metres FT8. Japan, new country.\"";
    test::HeadlessRun three = test::run_program_headless(
        dir.path(), "tick 3\nkey Escape\n", test::TestPrinter::Ready, nullptr, nullptr, &datagrams);
    EXPECT_FALSE(has(three.journal, logged));
    EXPECT_EQ(datagrams.incoming.size(), 201u - 3 * 64);
    test::HeadlessRun four = test::run_program_headless(
        dir.path(), "tick 1\nkey Escape\n", test::TestPrinter::Ready, nullptr, nullptr, &datagrams);
    EXPECT_TRUE(has(four.journal, logged));
    EXPECT_TRUE(datagrams.incoming.empty());
}

}  // namespace
}  // namespace vl
