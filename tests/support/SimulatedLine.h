// Simulated devices on real pseudo-terminals. The program opens the slave end through the
// real POSIX serial backend; a simulator of our own sits on the master end. The exchange is
// paced by the program's own reads, so a test needs no sleeps and gives the same result on a
// busy machine: before each read the device hears what the program has sent and puts its
// next chunk on the wire, and the read waits until those bytes have crossed the kernel.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Serial.h"

namespace vl::test {

using Bytes = std::vector<std::uint8_t>;

// What sits at the far end of the cable.
class SimulatedDevice {
public:
    virtual ~SimulatedDevice() = default;
    // Bytes the program sent, in whatever pieces they arrived.
    virtual void hear(std::span<const std::uint8_t> bytes) = 0;
    // Called on every read the program makes, after hear(): a device that reports by itself
    // (a turning rotator) sends here.
    virtual void on_read() {}

    // The chunks waiting to go to the program; one goes out on each read. A chunk held for
    // the next query waits until the program has written again.
    struct Chunk {
        Bytes bytes;
        bool after_next_query = false;
    };
    std::deque<Chunk>& outgoing() { return m_outgoing; }

    // Nothing is answered or reported while the device is silent.
    bool silent = false;
    // Every other reply goes out in two chunks: the second after the program's next query,
    // or on its next read when `split_waits_for_query` is false.
    bool split_replies = false;
    bool split_waits_for_query = true;
    // Bytes put before each reply, as line noise does.
    Bytes noise;
    // The speed and framing the program last set on the line.
    platform::SerialSettings line_settings{0, '?', 0, 0};

protected:
    void send(Bytes bytes);

private:
    std::deque<Chunk> m_outgoing;
    int m_replies = 0;
};

// Pseudo-terminals for the devices of one test, and the SerialPorts the program opens them
// by: the slave paths open through platform::open_serial_port, anything else does not open.
class SimulatedPorts final : public platform::SerialPorts {
public:
    SimulatedPorts();
    ~SimulatedPorts() override;
    SimulatedPorts(const SimulatedPorts&) = delete;
    SimulatedPorts& operator=(const SimulatedPorts&) = delete;

    // A new pseudo-terminal with `device` on its far end; returns the path the program opens.
    std::string attach(SimulatedDevice& device);
    std::unique_ptr<platform::SerialPort> open(const std::string& device_path) override;
    // The same for another program: `device` hears and answers on a thread of its own, at
    // once and whole, until these ports go.
    std::string serve(SimulatedDevice& device);

    struct Line;

private:
    std::vector<std::unique_ptr<Line>> m_lines;
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_served;
};

}  // namespace vl::test
