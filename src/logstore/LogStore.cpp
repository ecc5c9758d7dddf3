// The log store.
#include "logstore/LogStore.h"

#include <algorithm>
#include <cstring>

#include "logstore/Bands.h"
#include "logstore/CallSigns.h"

namespace vl {

namespace {

std::string sibling(const std::string& path, std::string_view extension) {
    std::string folder = platform::folder_of(path);
    std::string name = path.substr(folder.size());
    std::size_t dot = name.rfind('.');
    return folder + name.substr(0, dot) + std::string(extension);
}

}  // namespace

LogStore::~LogStore() {
    close();
}

std::string LogStore::stray_path() const {
    return sibling(m_path, ".BAD");
}
std::string LogStore::journal_path() const {
    return sibling(m_path, ".JNL");
}

OpenReport LogStore::open(const std::string& path) {
    close();
    m_path = path;
    return load();
}

OpenReport LogStore::reopen() {
    close();
    return load();
}

void LogStore::close() {
    if (m_file && m_journal_pending) {
        apply_pending_journal();
    }
    // A removal for edit that was never followed by its insert is dropped: the file still
    // holds the entry.
    m_file.reset();
    m_records.clear();
    m_calls.clear();
    m_dates.clear();
    m_current_band = 0;
    m_dirty_from = 1;
    m_journal_pending = false;
    m_file_count = 0;
}

OpenReport LogStore::load() {
    OpenReport report;
    // A whole-log rewrite that stopped before its rename left the log as it was; its
    // half-written copy is only litter. So is MYLOG.LOG.IMP, where imports of earlier
    // versions built the merged log: it only ever went in through a copy renamed over the
    // log, so the log holds either none of it or all of it.
    for (const std::string& scratch : {m_path + ".NEW", m_path + ".IMP"}) {
        if (m_files.exists(scratch)) {
            m_files.remove(scratch);
        }
    }
    m_file = m_files.open(m_path, platform::OpenMode::ReadWrite);
    if (!m_file) {
        report.outcome = OpenReport::Outcome::CannotOpen;
        return report;
    }
    // An interrupted change is completed before anything else looks at the file.
    std::optional<LogChange> change;
    if (m_files.exists(journal_path())) {
        change = read_journal(m_files, journal_path(), kMaxLogEntries);
        if (!change && !journal_of_earlier_version(m_files, journal_path())) {
            m_files.remove(journal_path());  // torn: the log was never touched
        } else if (!change || !change_fits(*m_file, *change)) {
            // Written for another log, or by an earlier version that recorded nothing to
            // check it by: applying it here could spoil this log, and dropping it could lose
            // a confirmed entry, so it is kept aside.
            change.reset();
            if (!m_files.rename(journal_path(), journal_path() + ".BAD")) {
                m_file.reset();
                report.outcome = OpenReport::Outcome::JournalNotSetAside;
                return report;
            }
            m_files.sync_directory(platform::folder_of(m_path));
            report.journal_set_aside = true;
        } else {
            report.replayed_journal = true;
            if (apply_change(*m_file, change->first, change->new_count, change->records)) {
                m_files.remove(journal_path());
            } else {
                m_journal_pending = true;
                report.change_unfinished = true;
            }
        }
    }
    auto size = m_file->size();
    if (!size) {
        m_file.reset();
        report.outcome = OpenReport::Outcome::CannotOpen;
        return report;
    }
    const uint64_t whole = *size / kRecordSize;
    if (whole > static_cast<uint64_t>(kMaxLogEntries)) {
        // Opened no further: writing would cut off entries the indexes cannot hold.
        m_file.reset();
        report.outcome = OpenReport::Outcome::TooLarge;
        return report;
    }
    if (*size % kRecordSize != 0 && !m_journal_pending) {
        if (!set_stray_bytes_aside(*m_file, whole * kRecordSize, *size)) {
            m_file.reset();
            report.outcome = OpenReport::Outcome::StrayNotSaved;
            return report;
        }
        report.stray_bytes = *size - whole * kRecordSize;
    }
    // Room for a full log from the start: an insert never copies the log to a larger block
    // (which would hold it twice), a log-on never waits for the indexes to grow, and pages
    // not yet used take no memory.
    m_records.reserve(kMaxLogEntries);
    m_calls.reserve(kMaxLogEntries);
    m_dates.reserve(kMaxLogEntries);
    m_kept.forget_from(0);
    m_records.resize(whole);
    if (whole > 0 && !m_file->read_at(0, m_records.data(), whole * kRecordSize)) {
        m_file.reset();
        m_records.clear();
        report.outcome = OpenReport::Outcome::CannotOpen;
        return report;
    }
    m_file_count = static_cast<uint32_t>(whole);
    if (m_journal_pending) {
        // The journal could not be applied to the file: the log is the file as the
        // journal will leave it, and the journal stays for the next attempt.
        m_records.resize(change->new_count);
        std::copy(change->records.begin(), change->records.end(),
                  m_records.begin() + (change->first - 1));
    }
    index_all();
    m_dirty_from = count() + 1;
    // Hashed once here, while the records are fresh from the disk, so that no change of
    // this session hashes more than a few hundred records to bind its journal.
    m_kept.of_first(m_records, m_records.size());
    return report;
}

// Cuts the bytes after the last whole record from the log, once they are kept aside.
bool LogStore::set_stray_bytes_aside(platform::File& file, uint64_t whole_size,
                                     uint64_t file_size) {
    std::string stray(static_cast<std::size_t>(file_size - whole_size), '\0');
    return file.read_at(whole_size, stray.data(), stray.size()) && keep_aside(stray) &&
           file.truncate(whole_size) && file.flush();
}

// Adds bytes to the end of MYLOG.BAD, so bytes kept aside earlier survive. The file is
// written anew and renamed, so it gains the bytes whole or not at all; when it already ends
// with them, a start that stopped after keeping them but before cutting them from the log
// kept them, and they are not added a second time.
bool LogStore::keep_aside(const std::string& stray) {
    std::string kept;
    if (m_files.exists(stray_path())) {
        // Stray bytes are less than an entry each time; a far larger file is not ours to copy.
        auto text = platform::read_whole_file(m_files, stray_path(), 64 << 20);
        if (!text) {
            return false;
        }
        kept = std::move(*text);
    }
    if (kept.ends_with(stray)) {
        return true;
    }
    return platform::replace_file(m_files, stray_path(), kept + stray);
}

void LogStore::index_entry(std::size_t slot) {
    std::string base = base_call_slot(m_records[slot].call_field());
    std::memcpy(m_calls[slot].data(), base.data(), m_calls[slot].size());
    m_dates[slot] = m_records[slot].date();
}

// Builds the indexes and takes the current band from the last QSO entry.
void LogStore::index_all() {
    m_calls.resize(m_records.size());
    m_dates.resize(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        index_entry(i);
        if (m_records[i].is_qso()) {
            m_current_band = band_of_band_field(m_records[i].band_field());
        }
    }
}

int LogStore::insertion_position(int16_t date, int16_t time) const {
    int k = count();
    if (k == 0 || date > m_dates[k - 1]) {
        return k + 1;
    }
    while (k > 0) {
        int16_t slot_date = m_dates[k - 1];
        if (date > slot_date) {
            break;
        }
        if (date == slot_date && time >= m_records[k - 1].time()) {
            break;
        }
        --k;
    }
    return k + 1;
}

void LogStore::tell_observer(const LogRecord* before, const LogRecord& after) {
    if (m_observer && after.is_qso()) {
        m_observer(before, after);
    }
}

LogStatus LogStore::write_entry(int number, const LogRecord& record) {
    if (!m_file) {
        return LogStatus::NotOpen;
    }
    if (number < 1 || number > count() + 1) {
        return LogStatus::NoSuchEntry;
    }
    if (number == count() + 1) {
        if (count() >= kMaxLogEntries) {
            return LogStatus::Full;
        }
        tell_observer(nullptr, record);
        m_records.push_back(record);
        m_calls.emplace_back();
        m_dates.push_back(0);
    } else {
        tell_observer(&m_records[number - 1], record);
        m_records[number - 1] = record;
    }
    index_entry(static_cast<std::size_t>(number - 1));
    m_dirty_from = std::min(m_dirty_from, number);
    return commit();
}

LogStatus LogStore::insert_in_order(const LogRecord& record, int* position) {
    if (!m_file) {
        return LogStatus::NotOpen;
    }
    if (count() >= kMaxLogEntries) {
        return LogStatus::Full;
    }
    tell_observer(nullptr, record);
    int p = insertion_position(record.date(), record.time());
    auto at = static_cast<std::ptrdiff_t>(p - 1);
    m_records.insert(m_records.begin() + at, record);
    m_calls.insert(m_calls.begin() + at, CallSlot{});
    m_dates.insert(m_dates.begin() + at, int16_t{0});
    index_entry(static_cast<std::size_t>(at));
    m_dirty_from = std::min(m_dirty_from, p);
    LogStatus status = commit();
    if (position != nullptr) {
        *position = status == LogStatus::Ok ? p : 0;
    }
    return status;
}

LogStatus LogStore::remove_for_edit(int number) {
    if (!m_file) {
        return LogStatus::NotOpen;
    }
    if (number < 1 || number > count()) {
        return LogStatus::NoSuchEntry;
    }
    auto at = static_cast<std::ptrdiff_t>(number - 1);
    m_records.erase(m_records.begin() + at);
    m_calls.erase(m_calls.begin() + at);
    m_dates.erase(m_dates.begin() + at);
    m_dirty_from = std::min(m_dirty_from, number);
    return LogStatus::Ok;
}

LogStatus LogStore::delete_entry(int number) {
    LogStatus status = remove_for_edit(number);
    return status == LogStatus::Ok ? commit() : status;
}

LogStatus LogStore::merge_in_order(std::span<const LogRecord> entries) {
    if (!m_file) {
        return LogStatus::NotOpen;
    }
    if (entries.size() > static_cast<std::size_t>(kMaxLogEntries - count())) {
        return LogStatus::Full;
    }
    if (m_journal_pending && !apply_pending_journal()) {
        return LogStatus::WriteFailed;
    }
    auto key = [](const LogRecord& record) {
        return std::pair<int, int>(record.date(), record.time());
    };
    // The log's entries move to the end of the room kept for a full log and the merge fills
    // from the front, so the log is never held twice. The front never passes the entries
    // still to be read.
    const auto old_count = static_cast<std::ptrdiff_t>(m_records.size());
    m_records.resize(m_records.size() + entries.size());
    std::move_backward(m_records.begin(), m_records.begin() + old_count, m_records.end());
    auto from_log = m_records.end() - old_count;
    std::size_t next = 0;
    for (auto out = m_records.begin(); out != m_records.end(); ++out) {
        // The log is walked from the front even where it is out of order, so an entry goes
        // before the first later one it meets.
        bool take_log = from_log != m_records.end() &&
                        (next == entries.size() || !(key(entries[next]) < key(*from_log)));
        *out = take_log ? *from_log++ : entries[next++];
    }
    // As an open of the merged log would set them; a failed rewrite reloads the old log.
    const int band = m_current_band;
    m_current_band = 0;
    index_all();
    m_kept.forget_from(0);
    LogStatus status = rewrite_whole_log();
    if (status != LogStatus::Ok) {
        m_current_band = band;
    }
    return status;
}

LogStatus LogStore::flush() {
    if (!m_file) {
        return LogStatus::NotOpen;
    }
    if (m_journal_pending && !apply_pending_journal()) {
        return LogStatus::WriteFailed;
    }
    return m_file->flush() ? LogStatus::Ok : LogStatus::WriteFailed;
}

ReplaceReport LogStore::replace_with(const std::string& source) {
    ReplaceReport report;
    if (!m_file) {
        report.outcome = ReplaceReport::Outcome::WriteFailed;
        return report;
    }
    // The copy is judged as a start would judge it, before anything is changed.
    auto from = m_files.open(source, platform::OpenMode::ReadOnly);
    auto size = from ? from->size() : std::nullopt;
    if (!size) {
        report.outcome = ReplaceReport::Outcome::CannotRead;
        return report;
    }
    const uint64_t whole = *size / kRecordSize * kRecordSize;
    if (whole / kRecordSize > static_cast<uint64_t>(kMaxLogEntries)) {
        report.outcome = ReplaceReport::Outcome::TooLarge;
        return report;
    }
    // A change the old log is still owed is made or the restore waits: a journal must
    // never outlive its log and meet the new one.
    if (m_journal_pending && !apply_pending_journal()) {
        report.outcome = ReplaceReport::Outcome::ChangePending;
        return report;
    }
    const std::string temporary = m_path + ".NEW";
    bool written = false;
    if (auto target = m_files.open(temporary, platform::OpenMode::CreateTruncate)) {
        std::vector<char> block(1 << 20);
        written = true;
        for (uint64_t done = 0; written && done < whole;) {
            auto n = static_cast<std::size_t>(std::min<uint64_t>(block.size(), whole - done));
            written =
                from->read_at(done, block.data(), n) && target->write_at(done, block.data(), n);
            done += n;
        }
        written = written && target->flush();
    }
    if (written && *size > whole) {
        // Kept aside before the rename, as a start does before it cuts the log.
        std::string stray(static_cast<std::size_t>(*size - whole), '\0');
        written = from->read_at(whole, stray.data(), stray.size()) && keep_aside(stray);
        report.stray_bytes = stray.size();
    }
    // No journal is left to meet the new log (one still pending was applied above). The
    // rename is the moment the new log takes the old one's place.
    if (written) {
        m_files.remove(journal_path());
    }
    if (!written || !m_files.rename(temporary, m_path)) {
        m_files.remove(temporary);
        report.outcome = ReplaceReport::Outcome::WriteFailed;
        report.stray_bytes = 0;
        return report;
    }
    m_files.sync_directory(platform::folder_of(m_path));
    close();
    if (load().outcome != OpenReport::Outcome::Opened) {
        report.outcome = ReplaceReport::Outcome::WriteFailed;
    }
    return report;
}

bool LogStore::write_copy(const std::string& path) {
    auto file = m_files.open(path, platform::OpenMode::CreateTruncate);
    return file &&
           (m_records.empty() ||
            file->write_at(0, m_records.data(), m_records.size() * kRecordSize)) &&
           file->flush();
}

bool LogStore::apply_pending_journal() {
    auto change = read_journal(m_files, journal_path(), kMaxLogEntries);
    if (!change) {
        return false;
    }
    if (!apply_change(*m_file, change->first, change->new_count, change->records)) {
        return false;
    }
    m_files.remove(journal_path());
    m_file_count = change->new_count;
    m_journal_pending = false;
    return true;
}

// Brings the file in step with memory: the changed records go to the journal first, then
// to the log. On failure memory is put back to what the disk holds.
LogStatus LogStore::commit() {
    if (m_journal_pending && !apply_pending_journal()) {
        restore_from_disk();
        return LogStatus::WriteFailed;
    }
    const int first = std::min(m_dirty_from, count() + 1);
    const auto new_count = static_cast<uint32_t>(count());
    m_kept.forget_from(static_cast<std::size_t>(first - 1));
    if (first - 1 < count() - (first - 1)) {
        return rewrite_whole_log();
    }
    std::span<const LogRecord> changed(m_records.data() + (first - 1),
                                       m_records.size() - static_cast<std::size_t>(first - 1));
    if (!write_journal(m_files, journal_path(), m_file_count, static_cast<uint32_t>(first),
                       new_count, m_kept.of_first(m_records, first - 1), changed)) {
        m_files.remove(journal_path());
        restore_from_disk();
        return LogStatus::WriteFailed;
    }
    m_dirty_from = count() + 1;
    if (apply_change(*m_file, static_cast<uint32_t>(first), new_count, changed)) {
        m_files.remove(journal_path());
        m_file_count = new_count;
    } else {
        // The journal holds the change safely; it is applied again before the next change
        // and at the next open.
        m_journal_pending = true;
    }
    return LogStatus::Ok;
}

// A change that moves more of the log than it leaves alone is written as a whole new log
// under a temporary name and renamed over the old: that writes fewer bytes than the
// journal and the rewrite together, and MYLOG.LOG is at every moment the whole old log or
// the whole new one.
LogStatus LogStore::rewrite_whole_log() {
    const std::string temporary = m_path + ".NEW";
    auto file = m_files.open(temporary, platform::OpenMode::CreateTruncate);
    const bool written = file &&
                         (m_records.empty() ||
                          file->write_at(0, m_records.data(), m_records.size() * kRecordSize)) &&
                         file->flush();
    if (!written || !m_files.rename(temporary, m_path)) {
        file.reset();
        m_files.remove(temporary);
        restore_from_disk();
        return LogStatus::WriteFailed;
    }
    // The open file is now MYLOG.LOG itself. A failed folder sync leaves the rename made as
    // far as every reader can see, so the change stands.
    m_file = std::move(file);
    m_file_count = static_cast<uint32_t>(count());
    m_dirty_from = count() + 1;
    m_files.sync_directory(platform::folder_of(m_path));
    return LogStatus::Ok;
}

void LogStore::restore_from_disk() {
    int band = m_current_band;
    m_file.reset();
    m_records.clear();
    m_calls.clear();
    m_dates.clear();
    m_journal_pending = false;
    load();
    m_current_band = band;
}

}  // namespace vl
