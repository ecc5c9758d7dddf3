// The part of a call sign that tells its country: "DL2HS/EA8" and "EA8/DL2HS" are both in the
// Canary Islands, "G4ABC/P" is in England, and "G4ABC/MM" is at sea, in no country.
#pragma once

#include <optional>
#include <string_view>

namespace vl {

// The text Find country looks up for `call`, or nothing when the call is in no country
// (at sea, /MM, or in the air, /AM). A call without "/" is looked up whole, as given.
std::optional<std::string_view> country_part(std::string_view call);

}  // namespace vl
