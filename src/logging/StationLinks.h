// The links on-line logging has to the station's transceiver and rotator. Each kind of
// connection is one implementation; the serial ones drive the CAT rig and the CBOX.
#pragma once

#include <memory>
#include <string_view>

#include "antenna/Rotator.h"
#include "hamlib/HamlibSettings.h"
#include "station/RigControl.h"

namespace vl {

struct LoggingContext;

class RigLink {
public:
    virtual ~RigLink() = default;
    // What the transceiver has reported since the last poll. Never waits.
    virtual RigReading poll() = 0;
    // False when no transceiver is set up at all (no rig definition, no Hamlib daemon).
    virtual bool set_up() const { return true; }
    // A sentence about the link (a daemon not available), once, when there is a new one.
    virtual std::string take_notice() { return {}; }
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
    // The largest bearing a typed one may be.
    virtual int largest_bearing() const { return 349; }
};

// The transceiver of the rig definition, its port opened at start-up.
std::unique_ptr<RigLink> serial_rig(const LoggingContext& ctx);
// The rotator box on the port of the settings.
std::unique_ptr<RotatorLink> serial_rotator(const LoggingContext& ctx);
// The transceiver and rotator through Hamlib's rigctld and rotctld.
std::unique_ptr<RigLink> hamlib_rig(const LoggingContext& ctx, const hamlib::Daemon& daemon);
std::unique_ptr<RotatorLink> hamlib_rotator(const LoggingContext& ctx,
                                            const hamlib::Daemon& daemon);

}  // namespace vl
