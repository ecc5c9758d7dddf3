// Bringing the country data up to date from a newer cty.dat placed in the program folder,
// without renumbering a country, so DXCC.CHT and other copies of the program stay valid.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxdata/CountryList.h"

namespace vl {

struct CountryUpdate {
    bool done = false;                       // false: keep both files as they are
    std::string reason;                      // why nothing was done
    std::optional<std::string> list_text;    // the new COUNTRY.LST, when it can be rewritten
    std::string ranges_kept_because;         // why COUNTRY.LST stays as it is
    std::string exceptions_text;             // the new COUNTRY.EXC
    std::vector<std::string> new_countries;  // in the country file, not in COUNTRY.LST
};

// The note COUNTRY.EXC carries for this country file; a COUNTRY.EXC with the same note was
// made from it, and start-up leaves it alone.
std::string country_file_note_of(std::string_view country_file);

// The new COUNTRY.EXC, and COUNTRY.LST when every record of `current` belongs to a country the
// file still names, each country keeping its number. A country the file names that `current`
// lacks is left out of both: it would need a number that no chart knows.
CountryUpdate update_from_country_file(const CountryList& current, std::string_view country_file);

// What the operator is told after an update.
std::string country_update_text(const CountryUpdate& update);

}  // namespace vl
