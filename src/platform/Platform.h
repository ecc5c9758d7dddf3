// The services a running program gets from its desktop backend.
#pragma once

#include "platform/Clock.h"
#include "platform/Datagrams.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Printer.h"
#include "platform/Programs.h"
#include "platform/Serial.h"
#include "platform/SharedLibrary.h"
#include "platform/Sound.h"
#include "platform/Tcp.h"
#include "platform/Ui.h"

namespace vl::platform {

struct Platform {
    Ui& ui;
    Sound& sound;
    Clock& clock;
    FileSystem& files;
    // The default printer; none means every print job reports "Printer Fail".
    Printer* printer = nullptr;
    // Serial ports for the transceiver and the rotator; none means every port is "not
    // available".
    SerialPorts* serial = nullptr;
    // The loader of the call-book libraries; none means every library is "not found".
    SharedLibraries* libraries = nullptr;
    // Web requests for the on-line call book; none means it is "not available".
    Http* http = nullptr;
    // Connections to Hamlib's rig and rotator daemons; none means they are "not available".
    TcpClients* tcp = nullptr;
    // UDP for WSJT-X and JTDX; none means the link to them is "not listening".
    Datagrams* datagrams = nullptr;
    // Other programs (tqsl for LoTW); none means LoTW uploads are "not available".
    Programs* programs = nullptr;
};

}  // namespace vl::platform
