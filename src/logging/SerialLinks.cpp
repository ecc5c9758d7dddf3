// The serial transceiver and rotator links: the run's RigControl and Rotator.
#include "logging/StationLinks.h"

#include "logging/LoggingContext.h"

namespace vl {

namespace {

class SerialRig final : public RigLink {
public:
    explicit SerialRig(RigControl& rig) : m_rig(rig) {}
    RigReading poll() override { return m_rig.poll(); }
    bool set_up() const override { return m_rig.ready(); }

private:
    RigControl& m_rig;
};

class SerialRotator final : public RotatorLink {
public:
    explicit SerialRotator(const LoggingContext& ctx) : m_ctx(ctx) {}

    bool open() override {
        const std::string device = platform::serial_device_path(
            m_ctx.settings.rotator_port, read_port_table(m_ctx.platform.files, m_ctx.program_dir));
        return m_ctx.rotator.open(m_ctx.platform.serial, device);
    }
    void close() override { m_ctx.rotator.close(); }
    bool is_open() const override { return m_ctx.rotator.is_open(); }
    RotatorEvents poll() override { return m_ctx.rotator.poll(); }
    void turn(std::string_view bearing) override { m_ctx.rotator.turn(bearing); }

private:
    LoggingContext m_ctx;
};

}  // namespace

std::unique_ptr<RigLink> serial_rig(const LoggingContext& ctx) {
    return std::make_unique<SerialRig>(ctx.rig_control);
}

std::unique_ptr<RotatorLink> serial_rotator(const LoggingContext& ctx) {
    return std::make_unique<SerialRotator>(ctx);
}

}  // namespace vl
