// The "DX Data Facilities" menu and the screens it opens.
#pragma once

#include <string>

#include "dxdata/DxContext.h"

namespace vl {

inline constexpr std::string_view kDxMenuCaption = "DX Data Facilities";

void show_dx_data_facilities(const DxContext& ctx, platform::WindowId owner);

// The status view of countries first..last; "Total." is shown only when they differ.
void show_status_view(const DxContext& ctx, platform::WindowId owner, int first_dxcc, int last_dxcc,
                      const std::string& title);
void show_single_country(const DxContext& ctx, platform::WindowId owner);
// A report walked one line at a time (countries wanted or worked, QSLs needed).
void show_report(const DxContext& ctx, platform::WindowId owner, const struct Report& report);
void show_band_status(const DxContext& ctx, platform::WindowId owner);

}  // namespace vl
