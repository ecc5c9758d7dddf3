// The Windows serial backend on a real COM port: under Wine, COM9 is a pseudo-terminal whose
// other end (serial_peer.py) answers "FA;" as a text radio would, in two pieces and after
// bytes a cooked or flow-controlled port would eat. Exits 0 when every check holds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/Serial.h"

namespace {

int fail(int code, const char* what) {
    std::fprintf(stderr, "serial probe: %s\n", what);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vl::platform;
    using Clock = std::chrono::steady_clock;
    if (argc != 2) {
        return fail(2, "usage: serial_probe COMn");
    }
    // The port table's classic name: /dev/ttyS8 is COM9.
    const int number = std::atoi(argv[1] + 3);
    auto port = open_serial_port("/dev/ttyS" + std::to_string(number - 1));
    if (!port) {
        return fail(1, "the port did not open");
    }
    if (!port->configure({9600, 'N', 8, 1}) || port->configure({12345, 'N', 8, 1})) {
        return fail(1, "the speeds were not taken and refused as they should be");
    }
    port->set_rts(true);
    port->set_dtr(false);

    std::uint8_t buffer[256];
    const auto before = Clock::now();
    if (port->bytes_waiting() != 0 || port->read(buffer) != 0) {
        return fail(1, "bytes arrived before anything was asked");
    }
    if (Clock::now() - before > std::chrono::milliseconds(50)) {
        return fail(1, "a read with nothing waiting waited");
    }
    const std::uint8_t query[] = {'F', 'A', ';'};
    if (port->write(query) != sizeof query) {
        return fail(1, "the query was not written");
    }
    const std::string expected =
        "\x11\x13\r\n\xff"
        "FA014074000;";
    std::string reply;
    bool counted = false;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (reply.size() < expected.size() && Clock::now() < deadline) {
        counted = counted || port->bytes_waiting() > 0;
        const std::size_t got = port->read(buffer);
        reply.append(reinterpret_cast<const char*>(buffer), got);
        if (got == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (reply != expected) {
        return fail(1, "the reply did not arrive unchanged");
    }
    if (!counted) {
        return fail(1, "bytes waiting never counted the reply");
    }
    std::puts("serial probe: COM port read and written");
    return 0;
}
