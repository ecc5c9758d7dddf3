// HAMLIB.TXT in the program folder: which Hamlib daemons serve the transceiver and the
// rotator, and, when the program is to start them itself, the model and device. One
// "key=value" a line; a missing file means no Hamlib at all.
//   rig=localhost:4532         rotator=localhost:4533
//   rig model=3073             rotator model=202
//   rig device=/dev/ttyUSB0    rotator device=/dev/ttyUSB1
//   rig speed=19200            rotator speed=9600
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "hamlib/HamlibClient.h"

namespace vl::hamlib {

inline constexpr std::string_view kSettingsFile = "HAMLIB.TXT";

struct Daemon {
    Address address;
    // Set when the program starts the daemon itself on the loopback address.
    std::string model;
    std::string device;
    std::string speed;
};

struct Settings {
    std::optional<Daemon> rig;
    std::optional<Daemon> rotator;
};

Settings parse_settings(std::string_view text);

}  // namespace vl::hamlib
