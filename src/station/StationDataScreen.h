// "STATION DATA ": the transceiver, antenna, power, mode and operator of each band, and the
// CAT port and speed of the rig definition.
#pragma once

#include "station/StationContext.h"

namespace vl {

void show_station_data(const StationContext& ctx, platform::WindowId owner);

}  // namespace vl
