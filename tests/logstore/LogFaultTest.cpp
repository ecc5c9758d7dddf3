// Changes cut short: every write, truncate and flush of each operation is made to fail in
// turn, and a child process is killed while inserting. Afterwards the log on disk, as a
// fresh open finds it, is always the whole log before or the whole log after.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>

#include "logstore/LogStore.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::log_bytes;
using test::qso;
using test::records_of;

std::vector<LogRecord> base_log() {
    std::vector<LogRecord> records;
    for (int i = 0; i < 30; ++i) {
        records.push_back(qso(static_cast<int16_t>(100 + i), 0, "C" + std::to_string(i)));
    }
    return records;
}

struct Operation {
    const char* name;
    std::function<LogStatus(LogStore&)> run;
};

const Operation kOperations[] = {
    {"insert at 1", [](LogStore& l) { return l.insert_in_order(qso(1, 0, "FIRST")); }},
    {"insert in the middle", [](LogStore& l) { return l.insert_in_order(qso(115, 5, "MID")); }},
    {"append", [](LogStore& l) { return l.insert_in_order(qso(900, 0, "LAST")); }},
    {"delete 1", [](LogStore& l) { return l.delete_entry(1); }},
    {"delete the last", [](LogStore& l) { return l.delete_entry(30); }},
    {"edit moves an entry",
     [](LogStore& l) {
         l.remove_for_edit(3);
         return l.insert_in_order(qso(120, 30, "EDITED"));
     }},
    {"rewrite in place", [](LogStore& l) { return l.write_entry(7, qso(106, 0, "REWRITTEN")); }},
    {"merge an import",
     [](LogStore& l) {
         const LogRecord batch[] = {qso(50, 0, "NEW1"), qso(115, 1, "NEW2"), qso(999, 0, "NEW3")};
         return l.merge_in_order(batch);
     }},
    {"restore a torn copy",
     [](LogStore& l) {
         // The copy is put beside the log by the operator, not by the program.
         const std::string copy = platform::folder_of(l.path()) + "BACKUP.LOG";
         std::ofstream(copy, std::ios::binary)
             << log_bytes({qso(5, 0, "K1ABC"), qso(6, 0, "K2ABC")}) << "torn";
         return l.replace_with(copy).outcome == ReplaceReport::Outcome::Replaced
                    ? LogStatus::Ok
                    : LogStatus::WriteFailed;
     }},
};

// The log as the operation leaves it, and how many file operations it takes.
void run_whole(const Operation& op, std::vector<LogRecord>& after, int& operations) {
    test::TempDir dir;
    dir.write("MYLOG.LOG", log_bytes(base_log()));
    test::FaultyFiles files;
    LogStore log(files);
    log.open(dir.file("MYLOG.LOG"));
    files.fail_at(0);
    ASSERT_EQ(op.run(log), LogStatus::Ok) << op.name;
    operations = files.operations();
    after = records_of(log);
    ASSERT_GT(operations, 0) << op.name;
}

TEST(LogFaults, EveryFailingWriteLeavesTheOldOrTheNewLog) {
    for (const Operation& op : kOperations) {
        std::vector<LogRecord> after;
        int operations = 0;
        ASSERT_NO_FATAL_FAILURE(run_whole(op, after, operations));
        for (int n = 1; n <= operations; ++n) {
            test::TempDir dir;
            dir.write("MYLOG.LOG", log_bytes(base_log()));
            test::FaultyFiles files;
            LogStore log(files);
            log.open(dir.file("MYLOG.LOG"));
            files.fail_at(n);
            LogStatus status = op.run(log);
            std::vector<LogRecord> in_memory = records_of(log);
            // What a fresh start right now (the process having died) would find.
            std::vector<LogRecord> on_disk = test::records_on_disk(dir.file("MYLOG.LOG"));
            EXPECT_TRUE(on_disk == base_log() || on_disk == after)
                << op.name << ": failing operation " << n << " left a mixed log";
            // The running program and the disk agree on which it is.
            EXPECT_EQ(in_memory, on_disk) << op.name << ": failing operation " << n;
            if (status != LogStatus::Ok) {
                EXPECT_EQ(on_disk, base_log()) << op.name << ": failure reported but log changed";
            }
        }
    }
}

// The process dies at each file operation of a change in turn, and then again at each file
// operation of the next start, which finishes or drops what the first left. A last clean
// start must find the whole old log or the whole new one, and no journal left behind.
TEST(LogFaults, KilledAtEveryOperationOfAChangeAndOfTheRestart) {
    for (const Operation& op : kOperations) {
        std::vector<LogRecord> after;
        int operations = 0;
        ASSERT_NO_FATAL_FAILURE(run_whole(op, after, operations));
        for (int n = 1; n <= operations; ++n) {
            // Restart crash points from 1 on, until a restart runs to its end (crash point 0).
            for (int m = 1;; ++m) {
                test::TempDir dir;
                dir.write("MYLOG.LOG", log_bytes(base_log()));
                {
                    test::FaultyFiles files;
                    LogStore log(files);
                    log.open(dir.file("MYLOG.LOG"));
                    files.crash_at(n);
                    op.run(log);
                }
                bool restart_finished = false;
                {
                    test::FaultyFiles files;
                    files.crash_at(m);
                    LogStore restart(files);
                    restart.open(dir.file("MYLOG.LOG"));
                    restart_finished = !files.crashed();
                }
                std::vector<LogRecord> on_disk = test::records_on_disk(dir.file("MYLOG.LOG"));
                EXPECT_TRUE(on_disk == base_log() || on_disk == after)
                    << op.name << ": killed at operation " << n << ", restart killed at " << m;
                EXPECT_FALSE(dir.exists("MYLOG.JNL")) << op.name << " " << n << " " << m;
                EXPECT_FALSE(dir.exists("MYLOG.JNL.BAD")) << op.name << " " << n << " " << m;
                if (restart_finished) {
                    break;
                }
            }
        }
    }
}

LogRecord numbered(int id) {
    // Dates jump about so most inserts land inside the log, not at its end.
    std::mt19937 shuffle(static_cast<unsigned>(id));
    auto date = static_cast<int16_t>(1000 + shuffle() % 400);
    return qso(date, static_cast<int16_t>(id % 1440), "N" + std::to_string(id));
}

// A child inserts entries one after another until it is killed at a random moment; the log
// must then hold exactly the first k entries, whole, in date-and-time order.
TEST(LogFaults, KilledDuringALongRunOfInsertsEveryRecordIsIntact) {
    std::mt19937 random(20261206);
    int total_inserted = 0;
    for (int round = 0; round < 6; ++round) {
        test::TempDir dir;
        std::vector<LogRecord> seed;
        for (int i = 0; i < 2000; ++i) {
            seed.push_back(qso(static_cast<int16_t>(900 + i / 5), 0, "S"));
        }
        dir.write("MYLOG.LOG", log_bytes(seed));
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LogStore log(platform::system_files());
            log.open(dir.file("MYLOG.LOG"));
            for (int id = 0;; ++id) {
                log.insert_in_order(numbered(id));
            }
        }
        usleep(static_cast<useconds_t>(20000 + random() % 200000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        LogStore log(platform::system_files());
        OpenReport report = log.open(dir.file("MYLOG.LOG"));
        ASSERT_EQ(report.outcome, OpenReport::Outcome::Opened);
        EXPECT_EQ(report.stray_bytes, 0u);
        // The seeds and the first k entries, each after those of its date and time before it.
        const int inserted = log.count() - 2000;
        std::vector<LogRecord> expected = seed;
        for (int id = 0; id < inserted; ++id) {
            expected.push_back(numbered(id));
        }
        std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return std::pair(a.date(), a.time()) < std::pair(b.date(), b.time());
        });
        ASSERT_EQ(records_of(log), expected) << "round " << round << ": " << inserted;
        total_inserted += inserted;
    }
    // The child must have been killed mid-run, not before it began.
    EXPECT_GT(total_inserted, 6);
}

}  // namespace
}  // namespace vl
