// The log's three-character modes and the ADIF MODE and SUBMODE they are written as. The
// export and the import share one table, so an exported entry reads back as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vl {

struct AdifMode {
    std::string_view mode;
    std::string_view submode;  // empty when ADIF puts the name in MODE
};

// The MODE and SUBMODE of a stored mode field (blanks, NULs and small letters allowed), or
// nothing when the field is empty or names no mode ADIF lists.
std::optional<AdifMode> adif_mode_of(std::string_view field);

// The mode an imported record keeps, before it is cut to the field's three characters.
std::string log_mode_of(std::string_view mode, std::string_view submode);

}  // namespace vl
