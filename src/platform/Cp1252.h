// Windows-1252, the single-byte text of the program's files, to and from UTF-8 at a
// toolkit boundary. A character outside Windows-1252 becomes "?" so fixed-width fields
// keep their width.
#pragma once

#include <string>
#include <string_view>

namespace vl::platform {

std::string utf8_from_cp1252(std::string_view text);
std::string cp1252_from_utf8(std::string_view text);

}  // namespace vl::platform
