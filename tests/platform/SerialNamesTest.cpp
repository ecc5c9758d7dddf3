// Port settings to device paths: the operator's port table first, then the classic names.
#include <gtest/gtest.h>

#include "platform/Serial.h"

namespace vl::platform {
namespace {

// COM2 is not in the table, and an empty entry (COM4) is no entry.
TEST(SerialNames, PortSettingsMapToDevices) {
    const char* table = "# USB adapters\r\n1=/dev/ttyUSB0\r\n 3 = /dev/serial/by-id/usb-rig \n4=\n";
    const struct {
        const char *setting, *device;
    } kRows[] = {{"COM1", "/dev/ttyUSB0"},
                 {"1", "/dev/ttyUSB0"},
                 {"com3", "/dev/serial/by-id/usb-rig"},
                 {"COM2", "/dev/ttyS1"},
                 {"COM4", "/dev/ttyS3"},
                 {"/dev/ttyACM0", "/dev/ttyACM0"},
                 {"COM0", ""},
                 {"COMX", ""},
                 {"", ""},
                 {"COM-1", ""}};
    for (const auto& row : kRows) {
        EXPECT_EQ(serial_device_path(row.setting, table), row.device) << row.setting;
    }
    EXPECT_EQ(serial_device_path("COM12", ""), "/dev/ttyS11");
}

}  // namespace
}  // namespace vl::platform
