// Reading, searching, changing and writing an operator's database.
#include "reference/OperatorDatabase.h"

#include <algorithm>

#include "logstore/Text.h"

namespace vl {

namespace {

constexpr uint64_t kSizeLimit = 64ull << 20;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

// One line without its CR LF (or bare LF); `ended` tells whether a CR LF ended it.
std::string_view next_line(std::string_view& text, bool& crlf) {
    std::size_t at = text.find('\n');
    std::string_view line = text.substr(0, at);
    text.remove_prefix(at == std::string_view::npos ? text.size() : at + 1);
    crlf = at != std::string_view::npos && !line.empty() && line.back() == '\r';
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

std::string database_error_text(const DatabaseLoad& load) {
    switch (load.outcome) {
        case DatabaseLoad::Outcome::BadFields:
            return "Incorrect number of fields in line " + std::to_string(load.line);
        case DatabaseLoad::Outcome::BadLength:
            return "Incorrect number of characters in line " + std::to_string(load.line);
        case DatabaseLoad::Outcome::TooManyRecords:
            return "Too many records in the data base: at most " +
                   std::to_string(OperatorDatabase::kMaxRecords) + " can be loaded";
        case DatabaseLoad::Outcome::Unreadable:
            return "The data base file cannot be read";
        default:
            return "";
    }
}

DatabaseLoad OperatorDatabase::parse(std::string_view bytes) {
    *this = OperatorDatabase();
    const uint64_t total = bytes.size();
    bool crlf = false;
    m_header = std::string(next_line(bytes, crlf));
    m_records_start = total - bytes.size();
    std::vector<std::string_view> names = split(m_header, ',');
    std::size_t separators = 0;
    for (int k = 0; !bytes.empty(); ++k) {
        std::string_view line = next_line(bytes, crlf);
        const int line_number = k + 2;
        std::size_t colons = static_cast<std::size_t>(std::count(line.begin(), line.end(), ':'));
        if (k == 0) {
            separators = colons;
            m_record_length = line.size();
            std::vector<std::string_view> parts = split(line, ':');
            for (std::size_t i = 0; i < separators; ++i) {
                m_all_widths.push_back(static_cast<int>(parts[i].size()));
            }
            for (std::size_t i = 0; i < names.size() && i < separators &&
                                    static_cast<int>(i) < kMaxFields && !names[i].empty();
                 ++i) {
                m_names.emplace_back(names[i]);
                m_widths.push_back(m_all_widths[i]);
            }
        }
        if (colons != separators) {
            return {DatabaseLoad::Outcome::BadFields, line_number};
        }
        if (line.size() != m_record_length) {
            return {DatabaseLoad::Outcome::BadLength, line_number};
        }
        if (count() == kMaxRecords) {
            return {DatabaseLoad::Outcome::TooManyRecords, line_number};
        }
        m_records.emplace_back(line);
    }
    return {};
}

int OperatorDatabase::worked() const {
    if (m_all_widths.empty()) {
        return 0;
    }
    const std::size_t last = m_all_widths.size() - 1;
    return static_cast<int>(std::count_if(m_records.begin(), m_records.end(), [&](auto& r) {
        return !trim(split(r, ':')[last]).empty();
    }));
}

std::optional<int> OperatorDatabase::search(std::string_view typed) const {
    const std::string target = to_upper(typed);
    const std::size_t star = target.find('*');
    for (int index = 0; index < count(); ++index) {
        const std::string upper = to_upper(m_records[index]);
        std::vector<std::string_view> fields = split(upper, ':');
        fields.pop_back();  // what follows the last ":" is no field
        for (std::string_view field : fields) {
            bool match = star == std::string::npos
                             ? trim_right(field) == target
                             : field.substr(0, star) == std::string_view(target).substr(0, star) &&
                                   field.size() >= star;
            if (match) {
                return index;
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> OperatorDatabase::field_values(int index) const {
    std::vector<std::string_view> parts = split(m_records[index], ':');
    std::vector<std::string> values;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        values.emplace_back(trim_right(parts[i]));
    }
    return values;
}

std::string OperatorDatabase::build_record(const std::vector<std::string>& values,
                                           int position) const {
    std::vector<std::string_view> kept;
    if (position >= 0 && position < count()) {
        kept = split(m_records[position], ':');
    }
    std::string record;
    for (std::size_t i = 0; i < m_all_widths.size(); ++i) {
        const auto width = static_cast<std::size_t>(m_all_widths[i]);
        if (i < m_names.size()) {
            record += fit(i < values.size() ? values[i] : "", width);
        } else {
            record += i < kept.size() ? std::string(kept[i]) : std::string(width, ' ');
        }
        record += ':';
    }
    return record;
}

bool OperatorDatabase::store(int position, std::string record) {
    if (m_records.empty() || position < 0 || position > count() ||
        record.size() != m_record_length) {
        return false;
    }
    if (position == count()) {
        if (count() == kMaxRecords) {
            return false;
        }
        m_records.push_back(std::move(record));
    } else {
        m_records[position] = std::move(record);
    }
    return true;
}

void OperatorDatabase::sort() {
    std::sort(m_records.begin(), m_records.end());
}

std::string OperatorDatabase::file_bytes() const {
    std::string bytes = m_header + "\r\n";
    for (const std::string& record : m_records) {
        bytes += record + "\r\n";
    }
    return bytes;
}

uint64_t OperatorDatabase::record_offset(int index) const {
    return m_records_start + (m_record_length + 2) * static_cast<uint64_t>(index);
}

DatabaseLoad load_database(platform::FileSystem& files, const std::string& path,
                           OperatorDatabase& database) {
    database = OperatorDatabase();
    if (!files.exists(path)) {
        return {DatabaseLoad::Outcome::Missing, 0};
    }
    auto bytes = platform::read_whole_file(files, path, kSizeLimit);
    if (!bytes) {
        return {DatabaseLoad::Outcome::Unreadable, 0};
    }
    DatabaseLoad load = database.parse(*bytes);
    if (load.outcome != DatabaseLoad::Outcome::Loaded) {
        database = OperatorDatabase();
    }
    return load;
}

// A record written over its bytes in place could be left half old and half new by a stop;
// the whole file is written anew and renamed over the old one instead, as sort-and-save does.
// Only the record's bytes differ from the old file.
bool save_database_record(platform::FileSystem& files, const std::string& path,
                          const OperatorDatabase& database, int position) {
    if (position < 0 || position >= database.count()) {
        return false;
    }
    return save_whole_database(files, path, database);
}

bool save_whole_database(platform::FileSystem& files, const std::string& path,
                         const OperatorDatabase& database) {
    return platform::replace_file(files, path, database.file_bytes());
}

}  // namespace vl
