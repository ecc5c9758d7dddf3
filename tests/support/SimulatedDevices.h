// Simulators of our own for the protocol families of the shipped rig definitions and for the
// rotator box, to put on the far end of a SimulatedPorts line. Each answers queries as the
// radio would; the test turns the dial and changes the mode between polls, or has the radio
// do it after a number of queries when the program runs a whole key script.
#pragma once

#include <string>
#include <vector>

#include "support/SimulatedLine.h"

namespace vl::test {

// A device that answers whole frames: those ending in `end`, or of `length` bytes when that
// is not 0. answer() gets each frame, its end included.
class FramedDevice : public SimulatedDevice {
public:
    void hear(std::span<const std::uint8_t> bytes) final;

protected:
    explicit FramedDevice(std::uint8_t end, std::size_t length = 0)
        : m_end(end), m_length(length) {}
    virtual void answer(const Bytes& frame) = 0;

private:
    std::uint8_t m_end;
    std::size_t m_length;
    Bytes m_buffer;
};

// A transceiver's dial and mode, as the front panel sets them.
class SimulatedRadio : public FramedDevice {
public:
    using FramedDevice::FramedDevice;
    long hertz = 14074000;
    int mode = 1;  // the radio's own mode number
    // The operator turns the dial once the radio has answered `queries` frequency queries.
    void turn_dial_after(int queries, long new_hertz, int new_mode);

protected:
    // Counts a frequency query and applies the dial turn when it is due.
    void frequency_asked();

private:
    int m_queries = 0;
    int m_turn_at = -1;
    long m_turned_hertz = 0;
    int m_turned_mode = 0;
};

// Icom CI-V: FE FE <to> <from> <command> <data> FD, frequency in BCD least significant
// byte first. Mode numbers: 00 LSB, 01 USB, 02 AM, 03 CW, 04 RTTY, 05 FM. Besides 03 and 04
// it answers what Hamlib's IC-7300 backend asks: 25 and 26 (the frequency and mode of a VFO),
// 1A 06 (data mode, off). Settings are taken but not kept (a frequency set by 05 or 25 too);
// anything else (the meters, 15) is refused.
class CivRadio final : public SimulatedRadio {
public:
    explicit CivRadio(std::uint8_t address) : SimulatedRadio(0xFD), m_address(address) {}
    bool echo = false;  // a CI-V bus hears every command twice

private:
    void answer(const Bytes& frame) override;
    std::uint8_t m_address;
};

// Text commands ended by ";". Kenwood and Elecraft: 11-digit FA, the 38-byte IF answer with
// the mode digit at byte 30. Yaesu "newcat": 9-digit FA and "MD0x;", the mode a hex digit.
// Anything else gets no answer.
class TextRadio final : public SimulatedRadio {
public:
    enum class Dialect { Kenwood, YaesuNewcat };
    explicit TextRadio(Dialect dialect) : SimulatedRadio(';'), m_dialect(dialect) {}

private:
    void answer(const Bytes& frame) override;
    Dialect m_dialect;
};

// Yaesu five-byte CAT (FT-817/857/897, FT-847): four parameter bytes and an instruction.
// 03 reads the frequency (BCD in 10 Hz, most significant first) and the mode byte. The FT-847
// answers nothing until CAT ON (00).
class FiveByteRadio final : public SimulatedRadio {
public:
    explicit FiveByteRadio(bool needs_cat_on) : SimulatedRadio(0, 5), m_cat_on(!needs_cat_on) {}

private:
    void answer(const Bytes& command) override;
    bool m_cat_on;
};

// The rotator control box: STX text CR frames. "A?" is answered with a position report
// "A,?,<heading>,R"; "AG<bearing>" with "A,G,R", after which the box reports "A,?,<heading>,M"
// once a read while the antenna turns 10 degrees at a time.
class RotatorBox final : public FramedDevice {
public:
    RotatorBox() : FramedDevice('\r') { split_waits_for_query = false; }
    int heading = 0;
    void on_read() override;
    // Every command the box received, STX and CR removed.
    const std::vector<std::string>& commands() const { return m_commands; }

private:
    void answer(const Bytes& frame) override;
    void report(char status);
    std::vector<std::string> m_commands;
    int m_target = -1;
};

}  // namespace vl::test
