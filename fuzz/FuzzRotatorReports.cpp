// Fuzz target: any bytes from the rotator box, arriving in chunks of any size and with silent
// ticks between them. Parsing must not crash or read outside a line, and a heading put before
// the operator must be one to three digits.
#include <algorithm>
#include <string>

#include "Fuzz.h"
#include "antenna/Rotator.h"

namespace {

// The box's side of the cable: each read takes the next chunk; an empty chunk is a silent
// tick.
class FuzzedPort final : public vl::platform::SerialPort {
public:
    explicit FuzzedPort(vl::fuzz::Chunks bytes) : m_bytes(bytes) {}
    bool configure(const vl::platform::SerialSettings&) override { return true; }
    void set_rts(bool) override {}
    void set_dtr(bool) override {}
    std::size_t bytes_waiting() override { return std::min(m_bytes.rest.size(), m_bytes.chunk); }
    std::size_t read(std::span<std::uint8_t> buffer) override { return m_bytes.read(buffer); }
    std::size_t write(std::span<const std::uint8_t> bytes) override { return bytes.size(); }

private:
    vl::fuzz::Chunks m_bytes;
};

class FuzzedPorts final : public vl::platform::SerialPorts {
public:
    explicit FuzzedPorts(vl::fuzz::Chunks bytes) : m_bytes(bytes) {}
    std::unique_ptr<vl::platform::SerialPort> open(const std::string&) override {
        return std::make_unique<FuzzedPort>(m_bytes);
    }

private:
    vl::fuzz::Chunks m_bytes;
};

void check_heading(const std::string& heading) {
    vl::fuzz::require(
        !heading.empty() && heading.size() <= 3 &&
        std::all_of(heading.begin(), heading.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // The whole input as one line, as the poll hands lines to the parser.
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (auto report = vl::parse_rotator_report(line)) {
        check_heading(report->heading);
    }
    FuzzedPorts ports({std::span(data + 1, size - 1), data[0] % 64 + 1u});
    vl::Rotator rotator;
    vl::fuzz::require(rotator.open(&ports, "/dev/cbox"));
    // Enough polls to take every chunk, then the silence after it.
    for (std::size_t poll = 0; poll < size + 60 && rotator.is_open(); ++poll) {
        const vl::RotatorEvents events = rotator.poll();
        if (events.heading) {
            check_heading(*events.heading);
        }
    }
    return 0;
}
