// The links on-line logging has to the station's transceiver and rotator. Each kind of
// connection is one implementation; the serial ones drive the CAT rig and the CBOX.
#pragma once

#include <memory>
#include <string_view>

#include "antenna/Rotator.h"
#include "station/RigControl.h"

namespace vl {

struct LoggingContext;

class RigLink {
public:
    virtual ~RigLink() = default;
    // What the transceiver has reported since the last poll. Never waits.
    virtual RigReading poll() = 0;
};

class RotatorLink {
public:
    virtual ~RotatorLink() = default;
    // False when the link could not be made.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;
    // Every 100 ms. Never waits.
    virtual RotatorEvents poll() = 0;
    virtual void turn(std::string_view bearing) = 0;
};

// The transceiver of the rig definition, its port opened at start-up.
std::unique_ptr<RigLink> serial_rig(const LoggingContext& ctx);
// The rotator box on the port of the settings.
std::unique_ptr<RotatorLink> serial_rotator(const LoggingContext& ctx);

}  // namespace vl
