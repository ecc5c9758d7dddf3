// Uploads: the account file, the queue file, each service's answers from a local stand-in
// server with recorded answers (tests/uploads/upload_server.py), LoTW through a stand-in
// tqsl, and the queue killed at every file operation. No other network.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <thread>

#include "interchange/AdifExport.h"
#include "logstore/Dates.h"
#include "support/FaultyFiles.h"
#include "support/LocalDaemons.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"
#include "uploads/Uploads.h"

namespace vl {
namespace {

LogRecord contact(std::string call, int minute, std::string mode = "SSB", int band = 4) {
    QsoEntry entry = decode_qso(test::qso(static_cast<int16_t>(date_code(126, 12, 9)),
                                          static_cast<int16_t>(19 * 60 + minute), call, band));
    entry.mode = std::move(mode);
    return encode(entry);
}

TEST(UploadAccountsFile, RoundTripsReadableByTheOperatorAloneAndSaysWhatIsSetUp) {
    test::TempDir dir;
    UploadAccounts accounts;
    accounts.clublog_email = "ann@example.com";
    accounts.clublog_password = "p\xE4ss";
    accounts.clublog_call = "G9ZZA";
    accounts.clublog_key = "abc";
    accounts.qrz_key = "KEY1\r\n";  // a pasted line break stays out of the file
    ASSERT_TRUE(save_upload_accounts(platform::system_files(), dir.path(), accounts));
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("UPLOADS.TXT").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    UploadAccounts read = parse_upload_accounts(dir.read("UPLOADS.TXT"));
    EXPECT_EQ(read.clublog_password, "p\xE4ss");
    EXPECT_EQ(read.qrz_key, "KEY1");
    EXPECT_EQ(read.eqsl_address, kEqslAddress);
    EXPECT_EQ(read.lotw_program, "tqsl");
    EXPECT_TRUE(read.set_up(Service::ClubLog));
    EXPECT_TRUE(read.set_up(Service::Qrz));
    EXPECT_FALSE(read.set_up(Service::Eqsl));
    EXPECT_FALSE(read.set_up(Service::Lotw));
    // Lines of no kind the file knows are passed over.
    EXPECT_EQ(parse_upload_accounts("junk\r\n=x\r\nqrz_key\r\nother=1\r\n"), UploadAccounts{});
}

TEST(UploadQueueFile, KeepsItsOwnLinesOnly) {
    const std::vector<QueuedContact> contacts = {{Service::ClubLog, "20261209 1901 G9ZZA", false},
                                                 {Service::Lotw, "20261209 1902 DL1ABC", true}};
    const std::string text = format_upload_queue(contacts);
    EXPECT_EQ(text, "CLUBLOG 20261209 1901 G9ZZA N\r\nLOTW 20261209 1902 DL1ABC C\r\n");
    EXPECT_EQ(parse_upload_queue(text + "QRZ 20261209 1903 K1AB X\r\nFOO 20261209 1903 K1AB N\r\n"
                                        "QRZ 2026 N\r\n\xFF\xFE\r\nEQSL\r\n"),
              contacts);
}

TEST(UploadQueueFile, AContactChangedWhileBeingSentStaysForTheNextBatch) {
    test::TempDir dir;
    UploadQueue queue(platform::system_files());
    ASSERT_TRUE(queue.load(dir.path()));
    const QueuedContact a{Service::Qrz, "20261209 1901 G9ZZA", false};
    const QueuedContact b{Service::Qrz, "20261209 1902 K1AB", false};
    ASSERT_TRUE(queue.add(a));
    ASSERT_TRUE(queue.add(b));
    ASSERT_TRUE(queue.add(a));  // again before it is sent: still one line
    queue.sending({a, b});
    ASSERT_TRUE(queue.add({Service::Qrz, a.key, true}));
    ASSERT_TRUE(queue.remove({a, b}));
    EXPECT_EQ(dir.read("UPLOADS.QUE"), "QRZ 20261209 1901 G9ZZA C\r\n");
}

TEST(UploadRecords, TheContactWithoutCommentOrQslFlagsAndNothingWithoutModeOrFrequency) {
    EXPECT_EQ(adif_upload_record(contact("G9ZZA", 1, "RTY")),
              "<qso_date:8>20261209 <time_on:4>1901 <time_off:4>1901  <call:5>G9ZZA  "
              "<freq:2>14  <mode:4>RTTY  <rst_sent:2>59  <rst_rcvd:2>57  <tx_pwr:3>100  <eor>");
    EXPECT_EQ(upload_key(contact("G9ZZA", 1)), "20261209 1901 G9ZZA");
    EXPECT_FALSE(adif_upload_record(contact("G9ZZA", 1, "")));
    EXPECT_FALSE(adif_upload_record(contact("G9ZZA", 1, "SSB", 99)));
}

TEST(UploadRecords, OnlyAChangeOfWhatIsSentQueuesAContactAgain) {
    test::TempDir dir;
    UploadState state(platform::system_files());
    ASSERT_TRUE(state.queue.load(dir.path()));
    state.accounts.qrz_key = "KEY1";
    const LogRecord first = contact("G9ZZA", 1);
    queue_log_change(state, nullptr, first);
    EXPECT_EQ(dir.read("UPLOADS.QUE"), "QRZ 20261209 1901 G9ZZA N\r\n");
    ASSERT_TRUE(state.queue.remove(state.queue.contacts()));
    QsoEntry labelled = decode_qso(first);
    labelled.qsl_flags = 1;
    labelled.comment = "other note";
    queue_log_change(state, &first, encode(labelled));
    EXPECT_TRUE(state.queue.empty());
    QsoEntry changed = decode_qso(first);
    changed.rst_received = "55";
    queue_log_change(state, &first, encode(changed));
    EXPECT_EQ(dir.read("UPLOADS.QUE"), "QRZ 20261209 1901 G9ZZA C\r\n");
}

// The stand-in server: started once for the suite, killed at its end.
class UploadServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string port;
        s_server = std::make_unique<test::ChildProcess>(
            std::vector<std::string>{"python3", VARROW_TESTS_DIR "/uploads/upload_server.py"},
            &port);
        s_port = std::atoi(port.c_str());
        ASSERT_GT(s_port, 0) << "the test server did not start";
    }
    static void TearDownTestSuite() { s_server.reset(); }
    static std::string address(std::string_view run, std::string_view answer,
                               std::string_view service) {
        return "http://127.0.0.1:" + std::to_string(s_port) + "/" + std::string(run) + "/" +
               std::string(answer) + "/" + std::string(service);
    }
    static UploadAccounts accounts(std::string_view run, std::string_view answer) {
        UploadAccounts a;
        a.clublog_email = "ann@example.com";
        a.clublog_password = "secret";
        a.clublog_call = "G9ZZA";
        a.clublog_key = "appkey";
        a.clublog_address = address(run, answer, "clublog");
        a.qrz_key = "KEY1";
        a.qrz_address = address(run, answer, "qrz");
        a.eqsl_user = "G9ZZA";
        a.eqsl_password = "secret";
        a.eqsl_address = address(run, answer, "eqsl");
        return a;
    }
    // What the live logbook of a run holds: "SERVICE KEY TIMES" lines.
    static std::string held(std::string_view run) {
        platform::HttpRequest request;
        request.url =
            "http://127.0.0.1:" + std::to_string(s_port) + "/" + std::string(run) + "/held";
        request.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        return platform::system_http()->post(request).body;
    }
    static UploadTools tools(const test::TempDir& dir) {
        UploadTools t;
        t.http = platform::system_http();
        t.programs = platform::system_programs();
        t.work_folder = dir.path();
        t.request_limit = std::chrono::milliseconds(1000);
        t.tqsl_limit = std::chrono::milliseconds(5000);
        return t;
    }

    static std::unique_ptr<test::ChildProcess> s_server;
    static int s_port;
};

std::unique_ptr<test::ChildProcess> UploadServerTest::s_server;
int UploadServerTest::s_port = 0;

UploadJob one_contact(Service service) {
    return {service,
            {{service, "20261209 1901 G9ZZA", false}},
            {*adif_upload_record(contact("G9ZZA", 1))},
            {}};
}

// Each service reads its own answers; a server error and an answer that cannot be read are
// said alike by each; no answer at all is the same wait for every service, so Club Log alone
// shows it.
TEST_F(UploadServerTest, EachAnswerOfEachServiceInOneSentence) {
    test::TempDir dir;
    const auto check = [&](Service service, const char* answer, const std::string& said) {
        UploadOutcome outcome =
            send_job(tools(dir), accounts("answers", answer), one_contact(service));
        EXPECT_EQ(outcome_sentence({outcome}), said) << answer;
        EXPECT_EQ(outcome.done.size(), outcome.failure.empty() ? 1u : 0u) << answer;
    };
    static const struct {
        Service service;
        const char *name, *refusal, *wrong_key;
    } kServices[] = {
        {Service::ClubLog, "Club Log", "Rejected: QSO date is in the future",
         "wrong e-mail, password or application key"},
        {Service::Qrz, "QRZ", "call sign not in this logbook", "wrong API key"},
        {Service::Eqsl, "eQSL", "Date out of range", "wrong user or password"},
    };
    for (const auto& s : kServices) {
        const std::string name = s.name;
        const std::string kept = name + ": 1 contact kept to send later, ";
        check(s.service, "accepted", name + ": 1 contact sent.");
        check(s.service, "duplicate", name + ": 1 already there.");
        check(s.service, "refused", name + ": 1 refused, " + s.refusal + ".");
        check(s.service, "wrongkey", kept + s.wrong_key + ".");
        check(s.service, "error", kept + "the server failed, HTTP error 500.");
        check(s.service, "garbage", kept + "its answer could not be read.");
    }
    check(Service::ClubLog, "silent",
          "Club Log: 1 contact kept to send later, no answer within 1 second.");
    // The key goes in clear only to this machine; no web client, nothing sent.
    UploadAccounts far = accounts("answers", "accepted");
    far.qrz_address = "http://logbook.example.com/api";
    EXPECT_EQ(send_job(tools(dir), far, one_contact(Service::Qrz)).failure,
              "its address in UPLOADS.TXT must start with https://");
    UploadTools none = tools(dir);
    none.http = nullptr;
    EXPECT_EQ(send_job(none, accounts("answers", "accepted"), one_contact(Service::Qrz)).failure,
              "uploads are not available in this version");
}

// A stand-in tqsl that keeps its arguments and the file it was given, and exits with `code`.
std::string stand_in_tqsl(const test::TempDir& dir, int code) {
    dir.write("tqsl", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + dir.file("args.txt") +
                          "\"\nfor last; do :; done\ncp \"$last\" \"" + dir.file("sent.adi") +
                          "\"\nexit " + std::to_string(code) + "\n");
    ::chmod(dir.file("tqsl").c_str(), 0755);
    return dir.file("tqsl");
}

TEST_F(UploadServerTest, LoTWThroughTqslAndItsExitStatus) {
    static const struct {
        int code;
        const char* said;
    } kCases[] = {
        {0, "2 contacts sent"},
        {8, "2 already there"},
        {9, "2 contacts sent"},
        {2, "2 contacts kept to send later, LoTW rejected the upload"},
        {4,
         "2 contacts kept to send later, tqsl could not sign the contacts, check the station "
         "location"},
        {10,
         "2 contacts kept to send later, tqsl refused the command, check the station location "
         "name"},
        {11, "2 contacts kept to send later, LoTW could not be reached"},
        {42, "2 contacts kept to send later, tqsl ended with status 42"},
    };
    for (const auto& c : kCases) {
        test::TempDir dir;
        UploadAccounts a;
        a.lotw_location = "Home QTH";
        a.lotw_program = stand_in_tqsl(dir, c.code);
        UploadJob job{
            Service::Lotw,
            {{Service::Lotw, "20261209 1901 G9ZZA", false},
             {Service::Lotw, "20261209 1902 K1AB", false}},
            {*adif_upload_record(contact("G9ZZA", 1)), *adif_upload_record(contact("K1AB", 2))},
            {{Service::Lotw, "20261209 1903 DL1X", false}}};
        UploadOutcome outcome = send_job(tools(dir), a, job);
        EXPECT_EQ(outcome_sentence({outcome}),
                  "LoTW: " + std::string(c.said) + "; 1 skipped, no mode or frequency.")
            << c.code;
        EXPECT_EQ(dir.read("args.txt"),
                  "-d\n-u\n-a\ncompliant\n-x\n-l\nHome QTH\n" + dir.file("LOTWSEND.ADI") + "\n");
        EXPECT_EQ(dir.read("sent.adi"), "Varrow Log upload\r\n<eoh>\r\n" + job.records[0] + "\r\n" +
                                            job.records[1] + "\r\n");
        EXPECT_FALSE(dir.exists("LOTWSEND.ADI"));
    }
    test::TempDir dir;
    UploadAccounts a;
    a.lotw_location = "Home";
    a.lotw_program = dir.file("no-such-tqsl");
    EXPECT_EQ(send_job(tools(dir), a, one_contact(Service::Lotw)).failure,
              "tqsl was not found; give its place on the LoTW screen");
}

std::string wait_for_batch(UploadState& state) {
    for (int i = 0; i < 500; ++i) {
        if (auto said = finish_uploads(state)) {
            return *said;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "the batch did not end";
}

// The log's entries are queued before the log takes them and leave the queue only after the
// service has answered. A kill is made at every file operation of three saves, a change and
// a batch (the log's operations and the queue's), and at none; after the next start's batch
// the services hold every contact the log holds, each taken once, and nothing else, and the
// queue is empty. A kill after an answer but before the queue was written sends that contact
// again at the next start: the service answers that it has it, which is not an error.
TEST_F(UploadServerTest, AKillAtEveryFileOperationLosesNothingAndSendsNothingTwice) {
    int operations = 0;
    int sent_again = 0;
    for (int stop_at = 0; stop_at == 0 || stop_at <= operations; ++stop_at) {
        SCOPED_TRACE("stopped at operation " + std::to_string(stop_at));
        const std::string run = "kill" + std::to_string(stop_at);
        test::TempDir dir;
        UploadAccounts live = accounts(run, "live");
        live.eqsl_user.clear();  // Club Log and QRZ
        {
            test::FaultyFiles files;
            files.crash_at(stop_at);
            LogStore log(files);
            ASSERT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
            UploadState state(files);
            state.accounts = live;
            ASSERT_TRUE(state.queue.load(dir.path()));
            log.set_entry_observer([&](const LogRecord* before, const LogRecord& after) {
                queue_log_change(state, before, after);
            });
            for (int minute : {1, 2, 3}) {
                if (!files.crashed()) {
                    log.insert_in_order(
                        contact("G9Z" + std::string(1, char('A' + minute)), minute));
                }
            }
            if (!files.crashed()) {
                QsoEntry changed = decode_qso(log.entry(2));
                changed.rst_received = "44";
                log.write_entry(2, encode(changed));
            }
            if (!files.crashed()) {
                ASSERT_EQ(start_uploads(state, log, tools(dir)), UploadStart::Started);
                const std::string said = wait_for_batch(state);
                if (stop_at == 0) {
                    EXPECT_EQ(said, "Club Log: 3 contacts sent. QRZ: 3 contacts sent.");
                }
            }
            if (stop_at == 0) {
                operations = files.operations();
            }
            log.set_entry_observer(nullptr);
        }
        // The next start.
        LogStore log(platform::system_files());
        ASSERT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
        UploadState state(platform::system_files());
        state.accounts = live;
        ASSERT_TRUE(state.queue.load(dir.path()));
        if (!state.queue.empty()) {
            if (start_uploads(state, log, tools(dir)) == UploadStart::Started) {
                const std::string said = wait_for_batch(state);
                sent_again += said.find("already there") != std::string::npos;
                EXPECT_EQ(said.find("kept"), std::string::npos) << said;
            }
        }
        EXPECT_TRUE(state.queue.empty());
        std::string expected;
        for (const char* service : {"clublog", "qrz"}) {
            for (int number = 1; number <= log.count(); ++number) {
                expected += std::string(service) + " " + upload_key(log.entry(number)) + " 1\n";
            }
        }
        EXPECT_EQ(held(run), expected);
        EXPECT_FALSE(dir.exists("UPLOADS.QUE.NEW"));
    }
    EXPECT_GT(operations, 20);
    // Some kill fell between an answer and the queue's write.
    EXPECT_GT(sent_again, 0);
}

// The operator's way: a contact logged on the on-line screen is queued at once, waits while
// the station is on the net (its log-off changes it), is sent by itself after the log-off,
// and the screen says the batch's outcome once; Control+U then says nothing waits. The key
// is in UPLOADS.TXT only: no journal line holds it.
TEST_F(UploadServerTest, TheOnLineScreenSendsASavedContactAndSaysSo) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\n");
    dir.write("UPLOADS.TXT", "qrz_key=KEY1\r\nqrz_address=" + address("screen", "live", "qrz") +
                                 "\r\nlotw_location=Home\r\nlotw_program=" + stand_in_tqsl(dir, 0) +
                                 "\r\n");
    const std::string script = "clock 2025-03-14 14:02:00\n" + test::open_menu_entry(2) +
                               "key Alt+M\ntype SSB\nkey Alt+W\ntype 10\nkey Shift+Tab\n"
                               "type g4abc\nkey F2\nwait 10\nkey F12\nwait 30\nkey Ctrl+U\n"
                               "key Escape\nanswer yes\nkey Escape\n";
    test::HeadlessRun run = test::run_program_headless(dir.path(), script);
    std::string said;
    for (const std::string& line : run.journal) {
        EXPECT_EQ(line.find("KEY1"), std::string::npos) << line;
        if (line.find("QRZ") != std::string::npos || line.find("wait") != std::string::npos ||
            line.starts_with("beep")) {
            said += line + "\n";
        }
    }
    EXPECT_EQ(said,
              "static \"QRZ: 1 contact sent. LoTW: 1 contact sent.\"\n"
              "beep default\n"
              "static \"No contacts wait to be sent.\"\n");
    EXPECT_EQ(held("screen"), "qrz 20250314 1402 G4ABC 1\n");
    EXPECT_EQ(dir.read("UPLOADS.QUE"), "");
}

}  // namespace
}  // namespace vl
