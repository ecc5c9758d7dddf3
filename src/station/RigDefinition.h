// The rig definition (*.RIG): how to talk to the transceiver over CAT. Six lines; the first
// is "port:speed,parity,data bits,stop bits". Only the port and speed are edited here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace vl {

struct RigDefinition {
    std::string name;  // the file name in upper case, as found in the program directory
    std::string path;
    std::array<std::string, 6> lines;
    std::string port;  // the text before ":" on line 1
    int speed = 0;
    bool unreadable = false;  // found but not read: never written back

    // Line 1 anew from a port and a speed text; its last six characters (",N,8,1") stay.
    void set_port_and_speed(std::string_view new_port, std::string_view speed_text);
};

// The first *.RIG file of the folder, in name order, read; nothing when there is none.
std::optional<RigDefinition> find_rig_definition(platform::FileSystem& fs,
                                                 const std::string& folder);
// False, writing nothing, for a definition that could not be read.
bool save_rig_definition(platform::FileSystem& fs, const RigDefinition& rig);

}  // namespace vl
