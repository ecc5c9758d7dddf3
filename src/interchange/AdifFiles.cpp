// File names typed on the ADIF screens.
#include "interchange/AdifFiles.h"

#include "logstore/Text.h"

namespace vl {

bool is_path_name(std::string_view typed) {
    return !typed.empty() && typed.front() == '/';
}

std::string adif_file_path(const std::string& program_dir, std::string_view typed) {
    if (is_path_name(typed)) {
        return std::string(typed);
    }
    return program_dir + to_upper(typed);
}

}  // namespace vl
