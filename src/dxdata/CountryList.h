// The country list from COUNTRY.LST: records of a call-sign range (low prefix to high
// prefix), a country name, a DXCC number and a position. A call belongs to the first record,
// in file order, whose range holds it in plain byte order.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxdata/PortableCall.h"

namespace vl {

constexpr int kMaxCountryRecords = 1001;
constexpr int kMaxDxccNumber = 400;

struct CountryRecord {
    std::string low;
    std::string high;  // as read, with "[" appended so every call starting with it is inside
    std::string name;
    int dxcc = 0;
    float latitude = 0;   // north positive
    float longitude = 0;  // east positive
};

// A line that stopped the loading: its number (from 1) and text, and why, when the
// reason is not the comma count.
struct CountryListError {
    int line_number = 0;
    std::string line;
    std::string reason;
};

// What loading COUNTRY.EXC found: the lines used, and those left out because they could not be
// read or name a country COUNTRY.LST does not carry under that number.
struct CountryExceptionsReport {
    int lines_used = 0;
    int lines_left_out = 0;
    std::string source_note;  // the note the tool wrote on the first line ("" when none)
};

class CountryList {
public:
    // Replaces the list with the records of `text`. Loading stops at the first bad line; the
    // records before it stay. Returns the bad line, if any.
    std::optional<CountryListError> load(std::string_view text);
    void clear();
    // Adds the exact calls and prefixes of COUNTRY.EXC, which Find country consults before the
    // ranges. Call after load(): a line is used only when its DXCC number and name are those of
    // a record of the list. Replaces any exceptions loaded before.
    CountryExceptionsReport load_exceptions(std::string_view text);
    bool has_exceptions() const { return !m_prefixes.empty() || !m_exact_calls.empty(); }

    // The DXCC number of the country of `call`, or -1; the current record becomes the record
    // that gave it, or count() when none did. A call listed as an exact call in COUNTRY.EXC
    // gets its country there; otherwise a portable call is looked up by its country part
    // ("DL2HS/EA8" by EA8, or by DL2HS when nothing holds the part), /MM or /AM is in no
    // country, and a part is given the country of its longest prefix in COUNTRY.EXC, or else
    // of the first record whose range holds it.
    int find(std::string_view call);
    // The same answer by the plain scan of every record in order; kept as the definition
    // the fast lookup is tested against.
    int find_by_scan(std::string_view call);

    int count() const { return static_cast<int>(m_records.size()); }
    int highest() const { return m_highest; }
    int current() const { return m_current; }
    const CountryRecord& record(int index) const { return m_records[index]; }
    // The record of the last successful find, or nullptr after a failed one.
    const CountryRecord* current_record() const;
    // The name of the first record that carries `dxcc`; "" when none does.
    std::string_view name_of(int dxcc) const;
    bool carries(int dxcc) const {
        return dxcc >= 0 && dxcc <= kMaxDxccNumber && m_first_record_of[dxcc] >= 0;
    }

private:
    void build_lookup();
    int find_with(std::string_view call, bool by_scan);
    int find_part(std::string_view part, bool by_scan);
    int found_exception(int dxcc);
    int find_range(std::string_view call);
    int scan_ranges(std::string_view call);

    std::vector<CountryRecord> m_records;
    int m_highest = 0;
    int m_current = 0;
    // Every low and high bound, sorted; for each, the first record holding exactly that
    // string, and the first record holding the strings between it and the next bound.
    std::vector<std::string> m_bounds;
    std::vector<int> m_at_bound;
    std::vector<int> m_after_bound;
    std::array<int, kMaxDxccNumber + 1> m_first_record_of{};
    // From COUNTRY.EXC: whole calls, and prefixes of which the longest a call begins with wins.
    PrefixTable m_exact_calls;
    PrefixTable m_prefixes;
    std::size_t m_longest_prefix = 0;
};

// The message of a bad line, as the "File Error" box shows it.
std::string country_list_error_text(const CountryListError& error);

}  // namespace vl
