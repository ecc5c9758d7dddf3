// Simulators of our own for the protocol families of the shipped rig definitions and for the
// rotator box, to put on the far end of a SimulatedPorts line. Each answers queries as the
// radio would; the test turns the dial and changes the mode between polls, or has the radio
// do it after a number of queries when the program runs a whole key script.
#pragma once

#include <string>
#include <vector>

#include "support/SimulatedLine.h"

namespace vl::test {

// A transceiver's dial and mode, as the front panel sets them.
class SimulatedRadio : public SimulatedDevice {
public:
    long hertz = 14074000;
    int mode = 1;  // the radio's own mode number
    // The operator turns the dial once the radio has answered `queries` frequency queries.
    void turn_dial_after(int queries, long new_hertz, int new_mode);

protected:
    // Counts a frequency query and applies the dial turns that are due.
    void frequency_asked();

private:
    struct DialTurn {
        int queries;
        long hertz;
        int mode;
    };
    std::vector<DialTurn> m_turns;
    int m_frequency_queries = 0;
};

// Icom CI-V: FE FE <to> <from> <command> <data> FD, frequency in BCD least significant
// byte first. Mode numbers: 00 LSB, 01 USB, 02 AM, 03 CW, 04 RTTY, 05 FM.
class CivRadio final : public SimulatedRadio {
public:
    explicit CivRadio(std::uint8_t address) : m_address(address) {}
    bool echo = false;  // a CI-V bus hears every command twice
    void hear(std::span<const std::uint8_t> bytes) override;

private:
    void answer(const Bytes& frame);
    std::uint8_t m_address;
    Bytes m_buffer;
};

// Text commands ended by ";". Kenwood and Elecraft: 11-digit FA, the 38-byte IF answer with
// the mode digit at byte 30, "MDx;". Yaesu "newcat": 9-digit FA and "MD0x;", the mode a hex
// digit; a zero byte in place of the character 0 gets no answer.
class TextRadio final : public SimulatedRadio {
public:
    enum class Dialect { Kenwood, YaesuNewcat };
    explicit TextRadio(Dialect dialect) : m_dialect(dialect) {}
    void hear(std::span<const std::uint8_t> bytes) override;

private:
    void answer(const std::string& command);
    std::string frequency_digits() const;
    Dialect m_dialect;
    std::string m_buffer;
};

// Yaesu five-byte CAT (FT-817/857/897, FT-847): four parameter bytes and an instruction.
// 03 reads the frequency (BCD in 10 Hz, most significant first) and the mode byte. The FT-847
// answers nothing until CAT ON (00) and stops at CAT OFF (80).
class FiveByteRadio final : public SimulatedRadio {
public:
    explicit FiveByteRadio(bool needs_cat_on) : m_cat_on(!needs_cat_on) {}
    void hear(std::span<const std::uint8_t> bytes) override;

private:
    void answer(const Bytes& command);
    bool m_cat_on;
    Bytes m_buffer;
};

// The rotator control box: STX text CR frames. "A?" is answered with a position report
// "A,?,<heading>,R"; "AG<bearing>" with "A,G,R", after which the box reports once a read
// while the antenna turns `step` degrees at a time, with `moving` as the status letter.
class RotatorBox final : public SimulatedDevice {
public:
    RotatorBox() { split_waits_for_query = false; }
    int heading = 0;
    int step = 10;
    char moving = 'M';
    void hear(std::span<const std::uint8_t> bytes) override;
    void on_read() override;
    // Every command the box received, STX and CR removed.
    const std::vector<std::string>& commands() const { return m_commands; }

private:
    void report(char status);
    std::string m_buffer;
    std::vector<std::string> m_commands;
    int m_target = -1;
};

}  // namespace vl::test
