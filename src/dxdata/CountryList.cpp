// Loading COUNTRY.LST and finding a call's country.
#include "dxdata/CountryList.h"

#include <algorithm>
#include <cmath>

#include "dxdata/PortableCall.h"
#include "logstore/Text.h"

namespace vl {

namespace {

// Blanks round a field are dropped, and so are the double quotes round a quoted one.
std::string field_text(std::string_view field) {
    field = trim(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = field.substr(1, field.size() - 2);
    }
    return std::string(field);
}

}  // namespace

void CountryList::clear() {
    m_records.clear();
    m_exact_calls.clear();
    m_prefixes.clear();
    m_longest_prefix = 0;
    m_highest = 0;
    m_current = 0;
    build_lookup();
}

std::optional<CountryListError> CountryList::load(std::string_view text) {
    clear();
    std::optional<CountryListError> error;
    while (!text.empty()) {
        std::string_view line = take_line(text);
        const int line_number = count() + 1;
        if (std::count(line.begin(), line.end(), ',') != 5) {
            error = CountryListError{line_number, std::string(line), {}};
            break;
        }
        if (count() >= kMaxCountryRecords) {
            error = CountryListError{line_number, std::string(line),
                                     "The list holds at most 1001 lines."};
            break;
        }
        std::string fields[6];
        std::size_t start = 0;
        for (std::string& field : fields) {
            std::size_t comma = line.find(',', start);
            field = field_text(line.substr(start, comma - start));
            start = comma + 1;
        }
        double dxcc = std::nearbyint(leading_number(fields[3]));  // halves to even
        if (dxcc < 0 || dxcc > kMaxDxccNumber) {
            error =
                CountryListError{line_number, std::string(line), "DXCC numbers run from 0 to 400."};
            break;
        }
        CountryRecord record;
        record.low = fields[0];
        record.high = fields[1] + "[";
        record.name = fields[2];
        record.dxcc = static_cast<int>(dxcc);
        record.latitude = static_cast<float>(leading_number(fields[4]));
        record.longitude = static_cast<float>(leading_number(fields[5]));
        m_highest = std::max(m_highest, record.dxcc);
        m_records.push_back(std::move(record));
    }
    m_current = count();
    build_lookup();
    return error;
}

// The matching records change only at the range bounds, so the first match is worked out
// once for each bound and for each gap between two bounds; a lookup is then a binary search.
void CountryList::build_lookup() {
    m_bounds.clear();
    for (const CountryRecord& r : m_records) {
        m_bounds.push_back(r.low);
        m_bounds.push_back(r.high);
    }
    std::sort(m_bounds.begin(), m_bounds.end());
    m_bounds.erase(std::unique(m_bounds.begin(), m_bounds.end()), m_bounds.end());
    m_at_bound.assign(m_bounds.size(), -1);
    m_after_bound.assign(m_bounds.size(), -1);
    auto rank = [this](const std::string& bound) {
        return static_cast<std::size_t>(std::lower_bound(m_bounds.begin(), m_bounds.end(), bound) -
                                        m_bounds.begin());
    };
    for (int i = 0; i < count(); ++i) {
        std::size_t low = rank(m_records[i].low);
        std::size_t high = rank(m_records[i].high);
        for (std::size_t j = low; j <= high; ++j) {  // nothing when the range is back to front
            if (m_at_bound[j] < 0) {
                m_at_bound[j] = i;
            }
            if (j < high && m_after_bound[j] < 0) {
                m_after_bound[j] = i;
            }
        }
    }
    m_first_record_of.fill(-1);
    for (int i = count() - 1; i >= 0; --i) {
        m_first_record_of[m_records[i].dxcc] = i;
    }
}

int CountryList::find(std::string_view call) {
    return find_with(call, false);
}

int CountryList::find_by_scan(std::string_view call) {
    return find_with(call, true);
}

// A whole call listed in COUNTRY.EXC is answered first (3D20CR is Conway Reef, not Fiji). A
// portable call is then looked up by the part that names its country; when nothing holds that
// part (a suffix such as /2K is no country's prefix), by the operator's own call.
int CountryList::find_with(std::string_view call, bool by_scan) {
    std::string_view whole = call;
    while (!whole.empty() && whole.back() == ' ') {
        whole.remove_suffix(1);
    }
    if (auto exact = m_exact_calls.find(whole); exact != m_exact_calls.end()) {
        return found_exception(exact->second);
    }
    CallParts parts = call_parts(call, m_prefixes.empty() ? nullptr : &m_prefixes);
    if (parts.in_no_country) {
        m_current = count();
        return -1;
    }
    int dxcc = find_part(parts.prefix, by_scan);
    return dxcc < 0 && parts.home != parts.prefix ? find_part(parts.home, by_scan) : dxcc;
}

// One part of a call: an exact call of COUNTRY.EXC ("3D2CR" of "3D2CR/P"), then its longest
// prefix there, then the ranges.
int CountryList::find_part(std::string_view part, bool by_scan) {
    if (part.size() != 0 && !m_exact_calls.empty()) {
        if (auto exact = m_exact_calls.find(part); exact != m_exact_calls.end()) {
            return found_exception(exact->second);
        }
    }
    for (std::size_t n = std::min(part.size(), m_longest_prefix); n > 0; --n) {
        if (auto prefix = m_prefixes.find(part.substr(0, n)); prefix != m_prefixes.end()) {
            return found_exception(prefix->second);
        }
    }
    return by_scan ? scan_ranges(part) : find_range(part);
}

// The current record of an answer from COUNTRY.EXC is the first record of its country, which
// gives the name and position; load_exceptions() keeps only numbers the list carries.
int CountryList::found_exception(int dxcc) {
    m_current = m_first_record_of[dxcc];
    return dxcc;
}

int CountryList::find_range(std::string_view call) {
    auto at =
        std::lower_bound(m_bounds.begin(), m_bounds.end(), call,
                         [](const std::string& bound, std::string_view c) { return bound < c; });
    auto j = static_cast<std::size_t>(at - m_bounds.begin());
    int index = -1;
    if (at != m_bounds.end() && *at == call) {
        index = m_at_bound[j];
    } else if (j > 0) {
        index = m_after_bound[j - 1];
    }
    m_current = index < 0 ? count() : index;
    return index < 0 ? -1 : m_records[index].dxcc;
}

int CountryList::scan_ranges(std::string_view call) {
    for (int i = 0; i < count(); ++i) {
        const CountryRecord& r = m_records[i];
        if (call > std::string_view(r.high)) {
            continue;
        }
        if (call < std::string_view(r.low)) {
            continue;
        }
        m_current = i;
        return r.dxcc;
    }
    m_current = count();
    return -1;
}

const CountryRecord* CountryList::current_record() const {
    return m_current < count() ? &m_records[m_current] : nullptr;
}

std::string_view CountryList::name_of(int dxcc) const {
    if (!carries(dxcc)) {
        return {};
    }
    return m_records[m_first_record_of[dxcc]].name;
}

// COUNTRY.EXC: lines of a DXCC number, the country's name as COUNTRY.LST gives it, and items
// separated by blanks, each a prefix or "=" and an exact call. A line starting with ";" is a
// note. A line that does not read, or whose number and name do not match the list (a file
// made for another numbering), is left out whole; the ranges still answer for it.
CountryExceptionsReport CountryList::load_exceptions(std::string_view text) {
    m_exact_calls.clear();
    m_prefixes.clear();
    m_longest_prefix = 0;
    CountryExceptionsReport report;
    bool first = true;
    auto call_text = [](std::string_view item) {
        return !item.empty() && item.size() <= 20 &&
               std::all_of(item.begin(), item.end(), [](char c) {
                   return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
               });
    };
    while (!text.empty()) {
        std::string_view line = take_line(text);
        if (first && !line.empty() && line.front() == ';') {
            report.source_note = std::string(trim(line.substr(1)));
        }
        first = false;
        if (trim(line).empty() || line.front() == ';') {
            continue;
        }
        std::size_t comma1 = line.find(',');
        std::size_t comma2 = comma1 == std::string_view::npos ? comma1 : line.find(',', comma1 + 1);
        std::string_view number = comma1 == std::string_view::npos ? line : line.substr(0, comma1);
        bool number_ok =
            !number.empty() && number.size() <= 3 &&
            std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (comma2 == std::string_view::npos || !number_ok) {
            ++report.lines_left_out;
            continue;
        }
        int dxcc = std::stoi(std::string(number));
        std::string_view name = line.substr(comma1 + 1, comma2 - comma1 - 1);
        if (!carries(dxcc) || name_of(dxcc) != name) {
            ++report.lines_left_out;
            continue;
        }
        std::vector<std::string_view> items;
        std::string_view rest = line.substr(comma2 + 1);
        bool items_ok = true;
        while (!rest.empty()) {
            std::size_t blank = rest.find(' ');
            std::string_view item = rest.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            if (item.empty()) {
                continue;
            }
            std::string_view call = item.front() == '=' ? item.substr(1) : item;
            if (!call_text(call) || (item.front() != '=' && call.find('/') != call.npos)) {
                items_ok = false;
                break;
            }
            items.push_back(item);
        }
        if (!items_ok) {
            ++report.lines_left_out;
            continue;
        }
        for (std::string_view item : items) {
            if (item.front() == '=') {
                m_exact_calls.emplace(std::string(item.substr(1)), dxcc);
            } else {
                m_prefixes.emplace(std::string(item), dxcc);
                m_longest_prefix = std::max(m_longest_prefix, item.size());
            }
        }
        ++report.lines_used;
    }
    return report;
}

std::string country_list_error_text(const CountryListError& error) {
    std::string text =
        "Line" + plain_number(error.line_number) + " of COUNTRY.LST\r\n" + quoted_line(error.line);
    if (!error.reason.empty()) {
        text += "\r\n" + error.reason;
    }
    return text;
}

}  // namespace vl
