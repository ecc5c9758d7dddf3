// Turning a country file in the cty.dat format into COUNTRY.LST: every current DXCC entity
// numbered from 1 (the home country first), and call-sign ranges that give each listed
// prefix its entity under the first-match rule of the program's lookup.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vl::tools {

struct CountryFileEntity {
    std::string name;
    std::string primary_prefix;
    float latitude = 0;                    // north positive
    float longitude = 0;                   // as in the file: west positive
    std::vector<std::string> prefixes;     // without exact calls and zone overrides
    std::vector<std::string> exact_calls;  // the "=" entries, without the "="
};

// The entities of a cty.dat text, without the contest-only ones (primary prefix with "*").
std::vector<CountryFileEntity> read_country_file(std::string_view text);

struct CountryListBuild {
    std::string text;          // COUNTRY.LST, CR LF line ends
    std::string exceptions;    // COUNTRY.EXC without its note line, CR LF line ends
    int exact_calls_kept = 0;  // exact calls COUNTRY.EXC carries: those the prefixes get wrong
    int records = 0;
    int entities = 0;
    std::vector<std::string> dropped;  // prefixes left out to stay within the record limit
    std::vector<std::string> wrong;    // prefixes the result gives another entity (none expected)
    std::vector<std::string> missing;  // entities no record carries (none expected)
    // The country file's exact calls, a list of calls really used on the air, and how many of
    // them the list finds in the entity the country file gives them.
    int real_calls = 0;
    int real_calls_found = 0;                    // with COUNTRY.EXC
    int real_calls_found_by_ranges = 0;          // by COUNTRY.LST alone
    std::vector<std::string> real_calls_missed;  // with COUNTRY.EXC
    std::string error;                           // when nothing could be built
};

// `home` names the home country by its name or primary prefix; it gets number 1. When
// `fixed_numbers` is given (one per entity), the entities keep those numbers instead and `home`
// is not used.
CountryListBuild build_country_list(const std::vector<CountryFileEntity>& entities,
                                    std::string_view home, int record_limit = 1001,
                                    const std::vector<int>* fixed_numbers = nullptr);

// The note on the first line of COUNTRY.EXC that names the country file it was made from, by
// a checksum of its bytes, so that start-up can tell a newer file from the one already used.
std::string country_file_note(std::string_view country_file);

// The name COUNTRY.LST gives an entity of the country file (it may hold no comma).
std::string list_name(std::string name);

}  // namespace vl::tools
