// The "DX Data Facilities" menu and the screens it opens.
#pragma once

#include <string>

#include "shell/AppContext.h"

namespace vl {

inline constexpr std::string_view kDxMenuCaption = "DX Data Facilities";

void show_dx_data_facilities(AppContext& ctx, platform::WindowId owner);

// The status view of countries first..last; "Total." is shown only when they differ.
void show_status_view(AppContext& ctx, platform::WindowId owner, int first_dxcc, int last_dxcc,
                      const std::string& title);
void show_single_country(AppContext& ctx, platform::WindowId owner);
// A report walked one line at a time (countries wanted or worked, QSLs needed).
void show_report(AppContext& ctx, platform::WindowId owner, const struct Report& report);
void show_band_status(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
