// "Beam Heading": the bearings and range of the country of any call sign.
#pragma once

#include "shell/AppContext.h"

namespace vl {

void show_beam_heading(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
