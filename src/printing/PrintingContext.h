// What the printing screens use besides the shared screen state: the label files and values,
// the station data, the frequency names and the country list.
#pragma once

#include <array>
#include <string>

#include "dxdata/CountryList.h"
#include "printing/LabelFiles.h"
#include "shell/ScreenContext.h"
#include "station/StationData.h"

namespace vl {

struct PrintingContext : ScreenContext {
    LabelState& labels;
    const StationData& station;
    const std::array<std::string, 15>& frequency_names;
    CountryList& countries;
};

}  // namespace vl
