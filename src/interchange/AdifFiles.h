// Where an ADIF file named on the export or import screen lives.
//
// A bare name is a file in the program's folder and is taken in capitals, as the program's
// own files are. A name starting with "/" is a path and keeps its letters as typed.
#pragma once

#include <string>
#include <string_view>

namespace vl {

bool is_path_name(std::string_view typed);

// The full path of the file the operator named.
std::string adif_file_path(const std::string& program_dir, std::string_view typed);

}  // namespace vl
