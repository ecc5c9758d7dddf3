// The log store: opening, the order of inserted entries, removal, deletion, limits, stray
// bytes and the journal, with the indexes and the file checked after every change. A log
// made at start: store_new_log scenario; copies cleared at open: store_half_built; a log
// too large to index: HousekeepingTest.
#include <gtest/gtest.h>

#include "logstore/CallSigns.h"
#include "logstore/LogJournal.h"
#include "logstore/LogStore.h"
#include "logstore/Text.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::log_bytes;
using test::qso;
using test::records_of;
using test::TempDir;

// The file, the record count and both indexes describe the same entries.
void expect_in_step(const LogStore& log, const TempDir& dir) {
    EXPECT_EQ(dir.read("MYLOG.LOG"), log_bytes(records_of(log)));
    for (int i = 1; i <= log.count(); ++i) {
        EXPECT_EQ(log.call_slot(i), base_call_slot(log.entry(i).call_field())) << "slot " << i;
        EXPECT_EQ(log.date_slot(i), log.entry(i).date()) << "slot " << i;
    }
    EXPECT_FALSE(dir.exists("MYLOG.JNL"));
}

class LogStoreTest : public ::testing::Test {
protected:
    void open_with(const std::vector<LogRecord>& records) {
        dir.write("MYLOG.LOG", log_bytes(records));
        ASSERT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
    }
    std::string calls() const {
        std::string all;
        for (int i = 1; i <= log.count(); ++i) {
            all += std::string(trim_right(log.entry(i).call_field())) + ' ';
        }
        return all;
    }

    TempDir dir;
    LogStore log{platform::system_files()};
};

TEST_F(LogStoreTest, CountIndexesAndCurrentBandComeFromTheFile) {
    LogRecord older = qso(100, 10, "GW9ZZA/P");
    older.set_band_field("14");  // an older entry with its MHz as text
    DataEntry data;
    data.date = 300;
    data.band = 9;
    open_with({older, qso(200, 20, "DL9ZZ", 6), encode(data)});
    EXPECT_EQ(log.count(), 3);
    // The last QSO entry sets the band; DATA and Text entries do not.
    EXPECT_EQ(log.current_band(), 6);
    expect_in_step(log, dir);

    log.close();
    open_with({older});
    EXPECT_EQ(log.current_band(), 4);
}

TEST_F(LogStoreTest, InsertInOrderFindsTheDateAndTimePlace) {
    open_with({qso(100, 100, "A"), qso(100, 200, "B"), qso(101, 50, "C")});
    struct Case {
        int16_t date, time;
        const char* call;
        int position;
        const char* after;
    };
    static const Case kCases[] = {
        {99, 0, "EARLIEST", 1, "EARLIEST A B C "},
        {100, 200, "SAMEASB", 4, "EARLIEST A B SAMEASB C "},
        {100, 150, "BETWEEN", 3, "EARLIEST A BETWEEN B SAMEASB C "},
        {102, 0, "LATEST", 7, "EARLIEST A BETWEEN B SAMEASB C LATEST "},
        {101, 50, "SAMEASC", 7, "EARLIEST A BETWEEN B SAMEASB C SAMEASC LATEST "},
        {100, 99, "BEFOREA", 2, "EARLIEST BEFOREA A BETWEEN B SAMEASB C SAMEASC LATEST "},
    };
    for (const Case& c : kCases) {
        int position = 0;
        ASSERT_EQ(log.insert_in_order(qso(c.date, c.time, c.call), &position), LogStatus::Ok);
        EXPECT_EQ(position, c.position) << c.call;
        EXPECT_EQ(calls(), c.after) << c.call;
        expect_in_step(log, dir);
    }
}

TEST_F(LogStoreTest, AnEditedEntryReturnsAtItsNewPlace) {
    open_with({qso(1, 0, "A"), qso(2, 0, "B"), qso(3, 0, "C"), qso(4, 0, "D")});
    const std::string before = dir.read("MYLOG.LOG");
    ASSERT_EQ(log.remove_for_edit(2), LogStatus::Ok);
    EXPECT_EQ(log.count(), 3);
    EXPECT_EQ(calls(), "A C D ");
    EXPECT_EQ(log.call_slot(2), "C           ");
    // Until the edited entry is stored again the file still holds it.
    EXPECT_EQ(dir.read("MYLOG.LOG"), before);

    int position = 0;
    ASSERT_EQ(log.insert_in_order(qso(9, 0, "B/P"), &position), LogStatus::Ok);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(calls(), "A C D B/P ");
    expect_in_step(log, dir);
}

TEST_F(LogStoreTest, DeleteShiftsTheRestAndCutsTheFile) {
    open_with({qso(1, 0, "A"), qso(2, 0, "B"), qso(3, 0, "C")});
    ASSERT_EQ(log.delete_entry(2), LogStatus::Ok);
    EXPECT_EQ(calls(), "A C ");
    expect_in_step(log, dir);

    ASSERT_EQ(log.delete_entry(2), LogStatus::Ok);  // the last of two
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), kRecordSize);
    expect_in_step(log, dir);

    ASSERT_EQ(log.delete_entry(1), LogStatus::Ok);  // the only one
    EXPECT_EQ(log.count(), 0);
    EXPECT_EQ(dir.read("MYLOG.LOG"), "");
    EXPECT_EQ(log.delete_entry(1), LogStatus::NoSuchEntry);
}

TEST_F(LogStoreTest, WriteEntryRewritesInPlaceOrAppends) {
    open_with({qso(1, 0, "A"), qso(2, 0, "B")});
    std::string told;  // what the observer heard: the entry before each change, and after
    log.set_entry_observer([&](const LogRecord* before, const LogRecord& after) {
        told += (before ? std::string(trim_right(before->call_field())) : "new") + ">" +
                std::string(trim_right(after.call_field())) + " ";
    });
    LogRecord toggled = log.entry(1);
    toggled.set_qsl_flags(kQslSentFlag);
    ASSERT_EQ(log.write_entry(1, toggled), LogStatus::Ok);
    EXPECT_EQ(log.entry(1).qsl_flags(), kQslSentFlag);
    ASSERT_EQ(log.write_entry(2, qso(2, 0, "C")), LogStatus::Ok);
    ASSERT_EQ(log.write_entry(3, qso(3, 0, "GM9ZZ")), LogStatus::Ok);
    EXPECT_EQ(told, "A>A B>C new>GM9ZZ ");
    EXPECT_EQ(log.count(), 3);
    expect_in_step(log, dir);
    EXPECT_EQ(log.write_entry(5, qso(3, 0, "X")), LogStatus::NoSuchEntry);
    EXPECT_EQ(log.write_entry(0, qso(3, 0, "X")), LogStatus::NoSuchEntry);
}

TEST_F(LogStoreTest, The120001stEntryIsRefusedAndNothingIsWritten) {
    std::vector<LogRecord> full(kMaxLogEntries, qso(10, 10, "G9ZZA"));
    open_with(full);
    EXPECT_EQ(log.count(), kMaxLogEntries);
    EXPECT_EQ(log.insert_in_order(qso(5, 0, "NEW")), LogStatus::Full);
    EXPECT_EQ(log.write_entry(kMaxLogEntries + 1, qso(50, 0, "NEW")), LogStatus::Full);
    EXPECT_EQ(log.count(), kMaxLogEntries);
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), kMaxLogEntries * kRecordSize);
    EXPECT_EQ(log.entry(1), full[0]);
    // An entry taken out for editing can still go back.
    ASSERT_EQ(log.remove_for_edit(1), LogStatus::Ok);
    EXPECT_EQ(log.insert_in_order(qso(5, 0, "EDITED")), LogStatus::Ok);
    EXPECT_EQ(log.count(), kMaxLogEntries);
}

// The bytes told once at start and kept in MYLOG.BAD are played by the start_up scenario.
TEST_F(LogStoreTest, StrayBytesAreKeptAsideOnceWhereverTheStartIsKilled) {
    std::vector<LogRecord> whole = {qso(1, 0, "A"), qso(2, 0, "B")};
    // A start killed at each step of keeping them aside: the next start adds them once to
    // what was kept before.
    for (int n = 1; n <= 6; ++n) {
        dir.write("MYLOG.LOG", log_bytes(whole) + "tail");
        dir.write("MYLOG.BAD", "earlier");
        {
            test::FaultyFiles files;
            files.crash_at(n);
            LogStore killed(files);
            killed.open(dir.file("MYLOG.LOG"));
        }
        EXPECT_EQ(test::records_on_disk(dir.file("MYLOG.LOG")), whole);
        EXPECT_EQ(dir.read("MYLOG.BAD"), "earliertail") << "killed at operation " << n;
    }
}

// A torn or foreign journal is dropped. An earlier version's journal cannot be matched to a
// log; it may hold a confirmed entry, so it is kept aside instead.
TEST_F(LogStoreTest, ATornOrForeignJournalIsDroppedAnEarlierVersionsKeptAside) {
    std::vector<LogRecord> old_log = {qso(2, 0, "B"), qso(3, 0, "C")};
    std::vector<LogRecord> change = {qso(1, 0, "A"), qso(2, 0, "B"), qso(3, 0, "C")};
    ASSERT_TRUE(write_journal(platform::system_files(), dir.file("MYLOG.JNL"), 2, 1, 3,
                              kept_checksum_of({}), change));
    std::string journal = dir.read("MYLOG.JNL");
    // The bytes, and whether they are kept aside.
    const std::pair<std::string, bool> damaged[] = {
        {journal.substr(0, journal.size() - 1), false},     // torn before its checksum
        {journal.substr(0, 32), false},                     // header only
        {std::string(journal).replace(20, 1, "#"), false},  // a changed byte
        {std::string(journal).replace(8, 4, "\xFF\xFF\xFF\x7F"), false},  // an absurd count
        {"not a journal at all", false},
        {"", false},
        {"VL", false},
        {std::string("VLJ1") + std::string(120, 'x'), true},
    };
    for (const auto& [bytes, kept_aside] : damaged) {
        dir.write("MYLOG.LOG", log_bytes(old_log));
        dir.write("MYLOG.JNL", bytes);
        std::filesystem::remove(dir.file("MYLOG.JNL.BAD"));
        OpenReport report = log.open(dir.file("MYLOG.LOG"));
        EXPECT_FALSE(report.replayed_journal);
        EXPECT_EQ(report.journal_set_aside, kept_aside) << bytes.size();
        EXPECT_EQ(dir.exists("MYLOG.JNL.BAD"), kept_aside) << bytes.size();
        EXPECT_EQ(records_of(log), old_log);
        expect_in_step(log, dir);
        log.close();
    }
}

// A journal left by a crash, met by a log that is not the one it was written for: a backup
// copied in, a log moved aside, a log whose untouched records differ. It is set aside once,
// and the log is left exactly as it is.
TEST_F(LogStoreTest, AJournalOfAnotherLogIsSetAsideAndTheLogLeftAlone) {
    std::vector<LogRecord> written_for;
    for (int i = 0; i < 10; ++i) {
        written_for.push_back(qso(static_cast<int16_t>(10 + i), 0, "W" + std::to_string(i)));
    }
    // Inserting before entry 4 of that log: records 1 to 3 are left alone.
    std::vector<LogRecord> tail(written_for.begin() + 3, written_for.end());
    tail.insert(tail.begin(), qso(12, 30, "NEW"));
    std::vector<LogRecord> bigger = written_for, other_start = written_for;
    for (int i = 0; i < 300; ++i) {
        bigger.push_back(qso(static_cast<int16_t>(30 + i), 0, "B"));
    }
    other_start[1] = qso(11, 0, "CHANGED");
    const std::vector<LogRecord> swapped[] = {
        bigger, {}, {written_for.begin(), written_for.begin() + 5}, other_start};
    for (const std::vector<LogRecord>& other : swapped) {
        dir.write("MYLOG.LOG", log_bytes(other));
        ASSERT_TRUE(write_journal(platform::system_files(), dir.file("MYLOG.JNL"), 10, 4, 11,
                                  kept_checksum_of({written_for.data(), 3}), tail));
        const std::string journal = dir.read("MYLOG.JNL");
        OpenReport report = log.open(dir.file("MYLOG.LOG"));
        EXPECT_TRUE(report.journal_set_aside) << other.size();
        EXPECT_FALSE(report.replayed_journal) << other.size();
        EXPECT_EQ(records_of(log), other);
        expect_in_step(log, dir);
        EXPECT_EQ(dir.read("MYLOG.JNL.BAD"), journal);
        EXPECT_FALSE(log.reopen().journal_set_aside) << "told once";
        log.close();
    }
}

// The checksum that binds a journal to its log is carried from one change to the next
// instead of hashed afresh over the whole log. After changes anywhere in a log several
// steps long, every prefix must still give what hashing it afresh gives, or a journal left
// by a crash would be set aside instead of completed.
TEST(KeptChecksums, EveryPrefixMatchesAFreshHashAfterChanges) {
    std::vector<LogRecord> records;
    for (int i = 0; i < 2000; ++i) {
        records.push_back(qso(static_cast<int16_t>(i), 0, "R" + std::to_string(i)));
    }
    KeptChecksums kept;
    auto expect_prefixes = [&](const char* after) {
        const std::size_t step = KeptChecksums::kStep;
        for (std::size_t count : {std::size_t{0}, std::size_t{1}, step - 1, step, step + 1,
                                  3 * step + 7, records.size() - 1, records.size()}) {
            EXPECT_EQ(kept.of_first(records, count), kept_checksum_of({records.data(), count}))
                << after << ", first " << count;
        }
    };
    expect_prefixes("first use");
    struct Change {
        const char* name;
        std::size_t at;
        bool insert;
    };
    const Change changes[] = {
        {"a change near the end", 1990, false},
        {"a change before the second step", 700, false},
        {"an insert at the start", 0, true},
        {"a change on a step's last record", 2 * KeptChecksums::kStep - 1, false},
        {"an append", records.size() + 1, true}};
    for (const Change& change : changes) {
        if (change.insert) {
            records.insert(
                records.begin() + static_cast<std::ptrdiff_t>(std::min(change.at, records.size())),
                qso(9999, 0, "NEW"));
        } else {
            records[change.at] = qso(9999, 1, "CHANGED");
        }
        kept.forget_from(std::min(change.at, records.size() - 1));
        expect_prefixes(change.name);
    }
}

// A journal written by the store on a long log binds as one hashed afresh does: it is
// completed at the next open, not set aside.
TEST_F(LogStoreTest, AJournalOfALongLogIsCompletedAtTheNextOpen) {
    std::vector<LogRecord> records;
    for (int i = 0; i < 3000; ++i) {
        records.push_back(qso(static_cast<int16_t>(i), 0, "L" + std::to_string(i)));
    }
    dir.write("MYLOG.LOG", log_bytes(records));
    test::FaultyFiles files;
    LogStore faulty(files);
    ASSERT_EQ(faulty.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
    ASSERT_EQ(faulty.write_entry(2500, qso(2499, 5, "FIRST")), LogStatus::Ok);
    ASSERT_EQ(faulty.write_entry(faulty.count() + 1, qso(3001, 0, "APPENDED")), LogStatus::Ok);
    ASSERT_EQ(faulty.delete_entry(1200), LogStatus::Ok);
    // The log itself can take nothing more: the last change stays in the journal.
    files.fill_disk(dir.file("MYLOG.LOG"));
    ASSERT_EQ(faulty.write_entry(2800, qso(2800, 5, "LAST")), LogStatus::Ok);
    ASSERT_TRUE(faulty.change_pending());
    const std::vector<LogRecord> expected = records_of(faulty);
    files.fill_disk("");
    OpenReport report = log.open(dir.file("MYLOG.LOG"));
    EXPECT_TRUE(report.replayed_journal);
    EXPECT_FALSE(report.journal_set_aside);
    EXPECT_EQ(records_of(log), expected);
    expect_in_step(log, dir);
}

// A copy that cannot be read is refused before anything is renamed (one too large to hold:
// DataSafetyTest), and a copy that ends part-way through an entry gives its whole entries,
// the rest kept in MYLOG.BAD, and drops the old log's journal.
TEST_F(LogStoreTest, RestoreJudgesTheCopyBeforeItReplacesTheLog) {
    const std::vector<LogRecord> current = {qso(1, 0, "A"), qso(2, 0, "B")};
    open_with(current);
    EXPECT_EQ(log.replace_with(dir.file("ABSENT.LOG")).outcome, ReplaceReport::Outcome::CannotRead);
    EXPECT_EQ(records_of(log), current);
    expect_in_step(log, dir);
    EXPECT_FALSE(dir.exists("MYLOG.LOG.NEW"));

    const std::vector<LogRecord> copy = {qso(7, 0, "K1ABC"), qso(8, 0, "K2ABC")};
    dir.write("BACKUP.LOG", log_bytes(copy) + "torn");
    ASSERT_TRUE(write_journal(platform::system_files(), dir.file("MYLOG.JNL"), 2, 1, 2,
                              kept_checksum_of({}), current));
    ReplaceReport report = log.replace_with(dir.file("BACKUP.LOG"));
    EXPECT_EQ(report.outcome, ReplaceReport::Outcome::Replaced);
    EXPECT_EQ(report.stray_bytes, 4u);
    EXPECT_EQ(records_of(log), copy);
    expect_in_step(log, dir);  // the old log's journal went with it
    EXPECT_EQ(dir.read("MYLOG.BAD"), "torn");
    EXPECT_EQ(dir.read("BACKUP.LOG"), log_bytes(copy) + "torn");  // the copy is not changed
}

// A change the old log was still owed when the restore began is finished before the rename
// or the restore is refused; its journal never meets the new log.
TEST_F(LogStoreTest, RestoreFinishesOrRefusesAPendingChangeFirst) {
    const std::vector<LogRecord> copy = {qso(7, 0, "K1ABC")};
    dir.write("BACKUP.LOG", log_bytes(copy));
    for (bool disk_frees : {true, false}) {
        open_with({qso(1, 0, "A")});
        log.close();
        test::FaultyFiles files;
        LogStore faulty(files);
        ASSERT_EQ(faulty.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
        files.fill_disk(dir.file("MYLOG.LOG"));
        ASSERT_EQ(faulty.insert_in_order(qso(2, 0, "B")), LogStatus::Ok);
        ASSERT_TRUE(faulty.change_pending());
        files.fill_disk(disk_frees ? "" : dir.file("MYLOG.LOG"));
        ReplaceReport report = faulty.replace_with(dir.file("BACKUP.LOG"));
        if (disk_frees) {
            EXPECT_EQ(report.outcome, ReplaceReport::Outcome::Replaced);
            EXPECT_EQ(records_of(faulty), copy);
            expect_in_step(faulty, dir);
        } else {
            EXPECT_EQ(report.outcome, ReplaceReport::Outcome::ChangePending);
            faulty.close();
            // The refused restore changed nothing: the next start finds the owed change.
            EXPECT_EQ(test::records_on_disk(dir.file("MYLOG.LOG")),
                      (std::vector<LogRecord>{qso(1, 0, "A"), qso(2, 0, "B")}));
        }
    }
}

}  // namespace
}  // namespace vl
