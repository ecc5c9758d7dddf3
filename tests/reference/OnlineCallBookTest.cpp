// The on-line call book: its account file, its XML answers, and lookups against a local
// server with recorded answers (tests/reference/callbook_server.py); no other network.
// Control+C on the on-line logging screen is played against the same server by the Orca
// check's call_book_online script.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "reference/CallBookXml.h"
#include "reference/OnlineCallBook.h"
#include "support/LocalDaemons.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Clock = std::chrono::steady_clock;

TEST(CallBookAccountFile, RoundTripsAndIsReadableByTheOperatorAlone) {
    test::TempDir dir;
    // A file left readable by everyone is made private by the next write.
    dir.write("CALLBOOK.TXT", "old\r\nold\r\n");
    ASSERT_EQ(::chmod(dir.file("CALLBOOK.TXT").c_str(), 0644), 0);
    CallBookAccount account{"g9zza", "p\xE4ss word", "http://127.0.0.1:1/"};
    ASSERT_TRUE(save_callbook_account(platform::system_files(), dir.path(), account));
    EXPECT_EQ(parse_callbook_account(dir.read("CALLBOOK.TXT")), account);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("CALLBOOK.TXT").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(dir.exists("CALLBOOK.TXT.NEW"));

    // Short files, and line breaks that would spill a value into the next line.
    EXPECT_EQ(parse_callbook_account("me\n").address, kDefaultCallBookAddress);
    EXPECT_EQ(parse_callbook_account("").user_name, "");
    EXPECT_EQ(format_callbook_account({"a\r\nb", "c", "d"}), "ab\r\nc\r\nd\r\n");
}

// The local server: started once for the suite, killed at its end.
class OnlineCallBookTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string port;
        s_server = std::make_unique<test::ChildProcess>(
            std::vector<std::string>{"python3", VARROW_TESTS_DIR "/reference/callbook_server.py"},
            &port);
        s_port = std::atoi(port.c_str());
        ASSERT_GT(s_port, 0) << "the test server did not start";
    }
    static void TearDownTestSuite() { s_server.reset(); }
    static CallBookAccount account(std::string_view scenario, std::string password = "secret") {
        return {"g9zza", std::move(password),
                "http://127.0.0.1:" + std::to_string(s_port) + "/" + std::string(scenario) + "/"};
    }

    static std::unique_ptr<test::ChildProcess> s_server;
    static int s_port;
};

std::unique_ptr<test::ChildProcess> OnlineCallBookTest::s_server;
int OnlineCallBookTest::s_port = 0;

TEST_F(OnlineCallBookTest, RecordedAnswersGiveTheCommentOrAMessage) {
    static const struct {
        const char* scenario;
        const char* password;
        const char* call;
        bool found;
        const char* said;  // the comment when found, otherwise the message
    } kCases[] = {
        {"found", "secret", " G9ZZA ", true, "Ann M\xFCller 1 High St Leeds England"},
        {"notfound", "secret", "XX9XX", false, "Callsign not found"},
        {"found", "wrong", "G9ZZA", false, "Call book login failed: Username/password incorrect"},
        {"garbage", "secret", "G9ZZA", false,
         "The call book sent an answer that could not be read"},
        {"huge", "secret", "G9ZZA", false, "The call book sent an answer that could not be read"},
        {"error", "secret", "G9ZZA", false, "The call book could not be reached: HTTP error 500"},
        {"found", "", "", false, ""},  // no call sign: nothing to do
    };
    for (const auto& c : kCases) {
        OnlineCallBook book(platform::system_http());
        CallBookAnswer answer = book.look_up(account(c.scenario, c.password), c.call);
        EXPECT_EQ(answer.kind == CallBookAnswer::Kind::Found, c.found) << c.scenario;
        EXPECT_EQ(answer.text, c.said) << c.scenario;
    }
    // No user name, and a plain http address, are the cb_online scenario's.
    OnlineCallBook book(platform::system_http());
    // Nothing listens on port 1 of this machine.
    EXPECT_EQ(book.look_up({"g9zza", "secret", "http://127.0.0.1:1/"}, "G9ZZA").text,
              kCallBookUnreachable);
    EXPECT_EQ(OnlineCallBook(nullptr).look_up(account("found"), "G9ZZA").text,
              kCallBookNotAvailable);
}

// The password goes in clear only to this machine.
TEST(CallBookAddress, HttpsOrThisMachine) {
    static const struct {
        const char* address;
        bool safe;
    } kCases[] = {
        {"https://xmldata.qrz.com/xml/current/", true},
        {"HTTPS://Example.org", true},
        {"http://127.0.0.1:8080/found/", true},
        {"http://localhost/", true},
        {"http://[::1]:80/", true},
        {"http://example.com/", false},
        {"http://127.0.0.1.example.com/", false},
        {"http://localhostile.net/", false},
        {"ftp://example.com/", false},
        {"https://", false},
        {"", false},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(safe_callbook_address(c.address), c.safe) << c.address;
    }
}

TEST_F(OnlineCallBookTest, AnEndedSessionGetsOneNewLoginAndTheLookupAgain) {
    OnlineCallBook book(platform::system_http());
    CallBookAccount expired = account("expired");
    EXPECT_EQ(book.look_up(expired, "XX9XX").text, kCallBookNotFound);
    EXPECT_EQ(book.session_key(), "K1");
    // The server now says K1 has timed out: the lookup logs in again and finds the call.
    CallBookAnswer answer = book.look_up(expired, "G9ZZA");
    EXPECT_EQ(answer.kind, CallBookAnswer::Kind::Found) << answer.text;
    EXPECT_EQ(book.session_key(), "K2");
    // The key stays for the next lookup; another account logs in afresh.
    EXPECT_EQ(book.look_up(expired, "G9ZZA").kind, CallBookAnswer::Kind::Found);
    EXPECT_EQ(book.session_key(), "K2");
    EXPECT_EQ(book.look_up(account("found"), "G9ZZA").kind, CallBookAnswer::Kind::Found);
    EXPECT_EQ(book.session_key().front(), 'K');
}

// A server that accepts and never answers: the lookup runs off the UI thread, so starting
// it and asking for the answer return at once; it gives up after 5 seconds with a message.
// A lookup still running when its screen's lookup object goes is given up within a second
// or so. This is the suite's one slow test (about 5 seconds).
TEST_F(OnlineCallBookTest, ASilentServerIsGivenUpAfterFiveSecondsWithoutHoldingTheScreen) {
    OnlineLookup lookup(platform::system_http());
    const auto started = Clock::now();
    ASSERT_TRUE(lookup.start(account("silent"), "G9ZZA"));
    EXPECT_TRUE(lookup.busy());
    EXPECT_FALSE(lookup.take_answer());
    EXPECT_FALSE(lookup.start(account("found"), "G9ZZA"));  // one at a time
    EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(200));

    const auto abandoned = Clock::now();
    {
        OnlineLookup given_up(platform::system_http());
        given_up.start(account("silent"), "G9ZZA");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_LT(Clock::now() - abandoned, std::chrono::milliseconds(2500));

    std::optional<CallBookAnswer> answer;
    while (!answer && Clock::now() - started < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the screen's timer
        answer = lookup.take_answer();
    }
    const auto took = Clock::now() - started;
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->text, kCallBookTimedOut);
    EXPECT_GE(took, std::chrono::milliseconds(4900));
    EXPECT_LT(took, std::chrono::milliseconds(7000));  // room for a loaded test machine
    EXPECT_FALSE(lookup.take_answer());                // once

    // The next lookup starts afresh and is answered.
    ASSERT_TRUE(lookup.start(account("found"), "G9ZZA"));
    answer.reset();
    while (!answer && Clock::now() - started < std::chrono::seconds(15)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        answer = lookup.take_answer();
    }
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->kind, CallBookAnswer::Kind::Found);
}

}  // namespace
}  // namespace vl
