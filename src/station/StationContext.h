// What the station data screen uses besides the shared screen state: the station data of
// each band and the rig definition.
#pragma once

#include <optional>

#include "shell/ScreenContext.h"
#include "station/RigDefinition.h"
#include "station/StationData.h"

namespace vl {

struct StationContext : ScreenContext {
    StationData& station;
    std::optional<RigDefinition>& rig;
};

// Writes RIG.LST; false when the file could not be written, after telling the operator.
bool save_station_data(const StationContext& ctx, platform::WindowId owner);

}  // namespace vl
