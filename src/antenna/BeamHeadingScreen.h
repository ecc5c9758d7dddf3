// "Beam Heading": the bearings and range of the country of any call sign.
#pragma once

#include "dxdata/CountryList.h"
#include "shell/ScreenContext.h"

namespace vl {

void show_beam_heading(const ScreenContext& ctx, CountryList& countries, platform::WindowId owner);

}  // namespace vl
