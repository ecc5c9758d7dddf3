// The part of a call sign that tells its country: "DL2HS/EA8" and "EA8/DL2HS" are both in the
// Canary Islands, "G4ABC/P" is in England, and "G4ABC/MM" is at sea, in no country.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace vl {

struct CallParts {
    bool in_no_country = false;  // at sea (/MM) or in the air (/AM)
    std::string_view prefix;     // the part that names the country
    std::string_view home;       // the operator's own call, for a prefix no country uses
};

// The prefixes of the country file, each with its DXCC number; a part after the call with no
// digit names a country only when it is one of these (G3YRZ/GM, but not G3YRZ/SOTA).
using PrefixTable = std::map<std::string, int, std::less<>>;

// The parts Find country looks up for `call`. A call without "/" is both parts, as given.
// Without `known`, a part after the call must hold a digit to name a country.
CallParts call_parts(std::string_view call, const PrefixTable* known = nullptr);

}  // namespace vl
