// An operator's database: a header line of field names and fixed-width records, each field
// padded to its width and followed by ":", lines ended by CR LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace vl {

struct DatabaseLoad {
    enum class Outcome { Loaded, Missing, Unreadable, BadFields, BadLength, TooManyRecords };
    Outcome outcome = Outcome::Loaded;
    int line = 0;  // the file line a record error was found on, counted from 1
};

inline constexpr std::string_view kDatabaseErrorTitle = "Data base error";
// The words for a load that failed on a record or on the size of the file.
std::string database_error_text(const DatabaseLoad& load);

class OperatorDatabase {
public:
    // Record numbers 0 to 10000.
    static constexpr int kMaxRecords = 10001;
    static constexpr int kMaxFields = 11;

    DatabaseLoad parse(std::string_view bytes);

    const std::string& header() const { return m_header; }
    // The named fields that have a box, in order, and their widths.
    const std::vector<std::string>& field_names() const { return m_names; }
    const std::vector<int>& widths() const { return m_widths; }
    int count() const { return static_cast<int>(m_records.size()); }
    const std::string& record(int index) const { return m_records[index]; }
    // Records whose last field is not blank.
    int worked() const;

    // The first record holding `target` (any case) as a whole field, or, when it holds "*",
    // a field that begins with what comes before the "*".
    std::optional<int> search(std::string_view target) const;
    // The record's named fields as the boxes show them: trailing blanks removed.
    std::vector<std::string> field_values(int index) const;
    // A record from the box texts, each padded or cut to its width. Fields without a name
    // keep what the record at `position` holds there (blanks for a new record).
    std::string build_record(const std::vector<std::string>& values, int position) const;
    // Replaces record `position`, or adds one when it is the count. False when the position
    // is beyond the end, the database is full, or there is no record to give the form.
    bool store(int position, std::string record);
    void sort();

    // The whole file, and where record `index` begins in it.
    std::string file_bytes() const;
    uint64_t record_offset(int index) const;

private:
    std::string m_header;
    std::vector<std::string> m_names;
    std::vector<int> m_widths;      // of the named fields
    std::vector<int> m_all_widths;  // of every field of the form
    std::vector<std::string> m_records;
    std::size_t m_record_length = 0;
    uint64_t m_records_start = 0;
};

// The database in the file at `path`.
DatabaseLoad load_database(platform::FileSystem& files, const std::string& path,
                           OperatorDatabase& database);
// Writes the file with record `position` changed or added, whole or not at all: a stop
// part-way through leaves the old file or the new one.
bool save_database_record(platform::FileSystem& files, const std::string& path,
                          const OperatorDatabase& database, int position);
// Writes the whole file under a temporary name and renames it over the old one.
bool save_whole_database(platform::FileSystem& files, const std::string& path,
                         const OperatorDatabase& database);

}  // namespace vl
