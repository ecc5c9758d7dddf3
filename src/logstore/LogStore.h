// MYLOG.LOG with its call index, date index, record count and current band.
// The log is opened once and stays open; every screen adds, changes and removes entries
// through these operations so the indexes always describe the file. Entries are kept in
// memory as well, and each change reaches the disk all-or-nothing through the journal.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logstore/LogEntry.h"
#include "logstore/LogJournal.h"
#include "platform/Files.h"

namespace vl {

constexpr int kMaxLogEntries = 120000;

enum class LogStatus {
    Ok,
    Full,         // the log already holds kMaxLogEntries entries
    NoSuchEntry,  // a record number outside 1..count
    WriteFailed,  // nothing changed: the log is as it was before the operation
    NotOpen,
};

struct OpenReport {
    enum class Outcome {
        Opened,
        CannotOpen,
        TooLarge,
        StrayNotSaved,
        JournalNotSetAside,  // a journal of another log could not be moved out of the way
    } outcome = Outcome::Opened;
    uint64_t stray_bytes = 0;       // bytes after the last whole record, moved aside
    bool replayed_journal = false;  // an interrupted change was found and is in the log
    // The interrupted change could not be written to the file (a full disk): the log in
    // memory has it, and the journal stays until it can be written.
    bool change_unfinished = false;
    // The journal found was written for another log (one copied in or moved aside): it was
    // renamed MYLOG.JNL.BAD and the log left as it was.
    bool journal_set_aside = false;
};

struct ReplaceReport {
    enum class Outcome {
        Replaced,
        CannotRead,     // the copy could not be read; nothing changed
        TooLarge,       // the copy holds more than kMaxLogEntries entries; nothing changed
        ChangePending,  // a change of the log could not be finished first; nothing changed
        WriteFailed,    // nothing changed
    } outcome = Outcome::Replaced;
    uint64_t stray_bytes = 0;  // bytes after the copy's last whole entry, kept in MYLOG.BAD
};

class LogStore {
public:
    explicit LogStore(platform::FileSystem& files) : m_files(files) {}
    ~LogStore();
    LogStore(const LogStore&) = delete;
    LogStore& operator=(const LogStore&) = delete;

    // Opens (creating when absent), completes an interrupted change, sets stray bytes
    // aside and builds the indexes.
    OpenReport open(const std::string& path);
    void close();
    OpenReport reopen();
    bool is_open() const { return m_file != nullptr; }
    const std::string& path() const { return m_path; }
    // Where the bytes after the last whole record are kept: MYLOG.BAD beside the log.
    std::string stray_path() const;
    std::string journal_path() const;

    int count() const { return static_cast<int>(m_records.size()); }
    // Record numbers run from 1 to count().
    const LogRecord& entry(int number) const { return m_records[number - 1]; }
    std::string_view call_slot(int number) const {
        return {m_calls[number - 1].data(), m_calls[number - 1].size()};
    }
    int16_t date_slot(int number) const { return m_dates[number - 1]; }

    int current_band() const { return m_current_band; }
    void set_current_band(int band) { m_current_band = band; }

    // Rewrites entry `number` in place, or appends it when number is count() + 1.
    LogStatus write_entry(int number, const LogRecord& record);
    // Puts the entry at its date-and-time place, after entries of the same date and time.
    LogStatus insert_in_order(const LogRecord& record, int* position = nullptr);
    // Takes the entry out so its edited form can be stored again with insert_in_order.
    // The file is changed only by that insert, so an edit cut short loses nothing.
    LogStatus remove_for_edit(int number);
    LogStatus delete_entry(int number);
    // Puts entries sorted by date and time into the log, each after the log's entries of its
    // date and time, and writes the log whole once: all of them go in or none do.
    LogStatus merge_in_order(std::span<const LogRecord> entries);
    LogStatus flush();
    // Puts the file at `source` in place of the log, whole or not at all, and builds the
    // indexes again. A copy the log could not hold is refused before anything changes; a
    // copy ending part-way through an entry gives its whole entries, the rest being kept in
    // MYLOG.BAD. Otherwise the log is as it was.
    ReplaceReport replace_with(const std::string& source);
    // Writes the log as this store holds it (every change made, even one the log file is
    // still owed) to a new file at `path`, flushed.
    bool write_copy(const std::string& path);
    // A change is held in the journal that the log file could not yet take.
    bool change_pending() const { return m_journal_pending; }

    // The place insert_in_order would give an entry of this date and time.
    int insertion_position(int16_t date, int16_t time) const;

    // Told of each QSO entry about to be stored by write_entry or insert_in_order, new
    // (`before` null) or changed, before the file changes: the upload queue writes it down
    // first, so a crash between the two leaves a queued contact the log may lack (the
    // queue checks the log before sending), never a stored contact the queue lost.
    using EntryObserver = std::function<void(const LogRecord* before, const LogRecord& after)>;
    void set_entry_observer(EntryObserver observer) { m_observer = std::move(observer); }

private:
    using CallSlot = std::array<char, 12>;

    OpenReport load();
    bool set_stray_bytes_aside(platform::File& file, uint64_t whole_size, uint64_t file_size);
    bool keep_aside(const std::string& stray);
    void index_entry(std::size_t slot);
    void index_all();
    LogStatus commit();
    void tell_observer(const LogRecord* before, const LogRecord& after);
    LogStatus rewrite_whole_log();
    bool apply_pending_journal();
    void restore_from_disk();

    platform::FileSystem& m_files;
    std::string m_path;
    std::unique_ptr<platform::File> m_file;
    std::vector<LogRecord> m_records;
    std::vector<CallSlot> m_calls;
    std::vector<int16_t> m_dates;
    int m_current_band = 0;
    // Records from this number on differ from the file (count() + 1 when in step).
    int m_dirty_from = 1;
    // A journal was flushed but the log could not yet be rewritten from it.
    bool m_journal_pending = false;
    // Records in the file when it is in step with the journal (none pending).
    uint32_t m_file_count = 0;
    // What binds each journal to this log, kept so that a change does not hash the log.
    KeptChecksums m_kept;
    EntryObserver m_observer;
};

}  // namespace vl
