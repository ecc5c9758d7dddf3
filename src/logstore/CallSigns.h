// The base-call rule: a call sign without portable suffixes and without the regional
// letter of G and M calls, so a station is found whatever suffix or region it used.
#pragma once

#include <string>
#include <string_view>

namespace vl {

constexpr std::size_t kCallWidth = 12;

// Works on the call field as stored (padded with blanks); trailing blanks are kept.
std::string base_call(std::string_view call_field);

// The base call padded to the 12 characters of a call-index slot.
std::string base_call_slot(std::string_view call_field);

}  // namespace vl
