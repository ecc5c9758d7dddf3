// The pacing of simulated devices on pseudo-terminals: every read the program makes first
// lets the device hear and answer, and waits until the bytes have crossed the kernel.
#include "support/SimulatedLine.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <thread>

namespace vl::test {

using Clock = std::chrono::steady_clock;

void SimulatedDevice::send(Bytes bytes) {
    if (silent || bytes.empty()) {
        return;
    }
    if (!noise.empty()) {
        bytes.insert(bytes.begin(), noise.begin(), noise.end());
    }
    // Every other reply is split, as a reply caught mid-way by a poll now and then is.
    if (split_replies && bytes.size() > 1 && m_replies++ % 2 == 0) {
        const auto half = bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2);
        m_outgoing.push_back({Bytes(bytes.begin(), half), false});
        m_outgoing.push_back({Bytes(half, bytes.end()), split_waits_for_query});
        return;
    }
    m_outgoing.push_back({std::move(bytes), false});
}

struct SimulatedPorts::Line {
    int master = -1;
    std::string slave;
    SimulatedDevice* device = nullptr;
    std::size_t program_written = 0;  // bytes the program wrote
    std::size_t device_heard = 0;     // of those, what the device has heard
    std::size_t device_sent = 0;      // bytes the device put on the wire
    std::size_t program_read = 0;     // of those, what the program has read
    int program_writes = 0;           // write calls: one a query
    int held_since = -1;              // the write count when a held chunk reached the front

    // The device hears what waits on the line; false when nothing did.
    bool hear() {
        std::array<std::uint8_t, 512> buffer{};
        const ssize_t got = ::read(master, buffer.data(), buffer.size());
        if (got > 0) {
            device->hear(std::span(buffer).first(static_cast<std::size_t>(got)));
            device_heard += static_cast<std::size_t>(got);
        }
        return got > 0;
    }

    // Before the program reads: the device hears everything sent so far and puts its next
    // chunk on the wire, and both have crossed the kernel when this returns.
    void exchange(platform::SerialPort& program_end) {
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (hear() || (device_heard < program_written && Clock::now() < deadline)) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        device->on_read();
        auto& outgoing = device->outgoing();
        if (!outgoing.empty()) {
            SimulatedDevice::Chunk& chunk = outgoing.front();
            if (chunk.after_next_query && held_since < 0) {
                held_since = program_writes;
            }
            if (!chunk.after_next_query || program_writes > held_since) {
                put_on_wire(chunk.bytes, deadline);
                outgoing.pop_front();
                held_since = -1;
            }
        }
        while (program_end.bytes_waiting() < device_sent - program_read &&
               Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    }

    void put_on_wire(const Bytes& bytes, Clock::time_point deadline) {
        std::size_t done = 0;
        while (done < bytes.size() && Clock::now() < deadline) {
            const ssize_t put = ::write(master, bytes.data() + done, bytes.size() - done);
            if (put > 0) {
                done += static_cast<std::size_t>(put);
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
        }
        device_sent += done;
    }
};

namespace {

// The program's end of a line: the real port, with each read paced by the device.
class PacedPort final : public platform::SerialPort {
public:
    PacedPort(std::unique_ptr<platform::SerialPort> port, SimulatedPorts::Line& line)
        : m_port(std::move(port)), m_line(line) {}

    bool configure(const platform::SerialSettings& settings) override {
        m_line.device->line_settings = settings;
        return m_port->configure(settings);
    }
    void set_rts(bool on) override { m_port->set_rts(on); }
    void set_dtr(bool on) override { m_port->set_dtr(on); }
    std::size_t bytes_waiting() override { return m_port->bytes_waiting(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        m_line.exchange(*m_port);
        const std::size_t got = m_port->read(buffer);
        m_line.program_read += got;
        return got;
    }
    std::size_t write(std::span<const std::uint8_t> bytes) override {
        const std::size_t sent = m_port->write(bytes);
        m_line.program_written += sent;
        ++m_line.program_writes;
        return sent;
    }

private:
    std::unique_ptr<platform::SerialPort> m_port;
    SimulatedPorts::Line& m_line;
};

}  // namespace

SimulatedPorts::SimulatedPorts() = default;

SimulatedPorts::~SimulatedPorts() {
    m_stop = true;
    for (std::thread& served : m_served) {
        served.join();
    }
    for (const auto& line : m_lines) {
        if (line->master >= 0) {
            ::close(line->master);
        }
    }
}

std::string SimulatedPorts::attach(SimulatedDevice& device) {
    auto line = std::make_unique<Line>();
    line->device = &device;
    line->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line->master >= 0 && ::grantpt(line->master) == 0 && ::unlockpt(line->master) == 0) {
        line->slave = ::ptsname(line->master);
    }
    m_lines.push_back(std::move(line));
    return m_lines.back()->slave;
}

std::string SimulatedPorts::serve(SimulatedDevice& device) {
    const std::string path = attach(device);
    m_served.emplace_back([this, &line = *m_lines.back()] {
        while (!m_stop) {
            pollfd wait{line.master, POLLIN, 0};
            if (::poll(&wait, 1, 20) > 0 && !line.hear()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));  // not open
            }
            for (auto& outgoing = line.device->outgoing(); !outgoing.empty();
                 outgoing.pop_front()) {
                line.put_on_wire(outgoing.front().bytes, Clock::now() + std::chrono::seconds(1));
            }
        }
    });
    return path;
}

std::unique_ptr<platform::SerialPort> SimulatedPorts::open(const std::string& device_path) {
    for (const auto& line : m_lines) {
        if (!line->slave.empty() && line->slave == device_path) {
            auto port = platform::open_serial_port(device_path);
            if (!port) {
                return nullptr;
            }
            return std::make_unique<PacedPort>(std::move(port), *line);
        }
    }
    return nullptr;
}

}  // namespace vl::test
