// Serial ports on Windows are not built yet: every port reports "not available".
#include <memory>
#include <string>

#include "platform/Serial.h"

namespace vl::platform {

std::unique_ptr<SerialPort> open_serial_port(const std::string&) {
    return nullptr;
}

SerialPorts& system_serial_ports() {
    struct SystemPorts final : SerialPorts {
        std::unique_ptr<SerialPort> open(const std::string& device_path) override {
            return open_serial_port(device_path);
        }
    };
    static SystemPorts ports;
    return ports;
}

}  // namespace vl::platform
