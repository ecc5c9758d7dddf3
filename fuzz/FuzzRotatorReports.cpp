// Fuzz target: any bytes from the rotator box, arriving in chunks of any size and with silent
// ticks between them. Parsing must not crash or read outside a line, and a heading put before
// the operator must be one to three digits.
#include <algorithm>
#include <span>
#include <string>

#include "Fuzz.h"
#include "antenna/Rotator.h"

namespace {

// The box's side of the cable: each read takes the next chunk; an empty chunk is a silent
// tick.
class FuzzedPort final : public vl::platform::SerialPort {
public:
    FuzzedPort(std::span<const uint8_t> bytes, std::size_t chunk) : m_rest(bytes), m_chunk(chunk) {}
    bool configure(const vl::platform::SerialSettings&) override { return true; }
    void set_rts(bool) override {}
    void set_dtr(bool) override {}
    std::size_t bytes_waiting() override { return std::min(m_rest.size(), m_chunk); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t take = std::min({m_rest.size(), m_chunk, buffer.size()});
        std::copy_n(m_rest.begin(), take, buffer.begin());
        m_rest = m_rest.subspan(take);
        return take;
    }
    std::size_t write(std::span<const std::uint8_t> bytes) override { return bytes.size(); }
    bool done() const { return m_rest.empty(); }

private:
    std::span<const uint8_t> m_rest;
    std::size_t m_chunk;
};

class FuzzedPorts final : public vl::platform::SerialPorts {
public:
    FuzzedPorts(std::span<const uint8_t> bytes, std::size_t chunk)
        : m_bytes(bytes), m_chunk(chunk) {}
    std::unique_ptr<vl::platform::SerialPort> open(const std::string&) override {
        return std::make_unique<FuzzedPort>(m_bytes, m_chunk);
    }

private:
    std::span<const uint8_t> m_bytes;
    std::size_t m_chunk;
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
    FuzzedPorts ports(std::span(data + 1, size - 1), data[0] % 64 + 1);
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
