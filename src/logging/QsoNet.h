// The QSO net of on-line logging: up to 50 stations logged on at once, each a slot that
// holds its log record, its QSL-written mark and its text, and the log writes that log a
// station on, edit it and log it off.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"

namespace vl {

constexpr int kNetSize = 50;

struct NetSlot {
    int record = 0;
    uint8_t qsl_written = 0;
    // Call (12), "," HH:MM "," RST sent (7) "," RST received (7) "," comment (40).
    std::string text;
};

// The padded fields of a contact as the boxes give them.
struct NetContact {
    std::string call;          // 12
    std::string rst_sent;      // 7
    std::string rst_received;  // 7
    std::string comment;       // 40
};

NetContact net_contact(std::string_view call, std::string_view rst_sent,
                       std::string_view rst_received, std::string_view comment);
std::string slot_text(const NetContact& contact, std::string_view hhmm);
// A slot in words, the call letter by letter: "QSO 3, J A 1 X Y Z, on at 0756, 579 sent,
// 449 received, first JA". Empty reports and comment are left out.
std::string spoken_slot(int number, std::string_view text);
// "On the net, QSO 1, G4ABC.": the slot numbered from 1.
std::string on_the_net(int slot, std::string_view text);

class QsoNet {
public:
    int count() const { return static_cast<int>(m_slots.size()); }
    bool full() const { return count() >= kNetSize; }
    int current() const { return m_current; }
    int edit_slot() const { return m_edit_slot; }
    const NetSlot& slot(int index) const { return m_slots[index]; }
    // The log records of the stations on the net.
    std::vector<int> records() const;

    // "QSO 2, G 9 Z Z A, on at 1402, 59 sent, 57 received, first QSO": the current slot
    // as the QSO box shows it; "QSO 1, " on an empty net.
    std::string box_text() const;
    // The walk; true when it went round from the last slot to the first, or back.
    bool next();
    bool previous();
    // The slot of a station with the same base call as `call`, or -1.
    int find(std::string_view call) const;

    // The station goes right after the slot shown (first on an empty net) and is shown.
    void add(NetSlot slot);
    void set_text(int index, std::string text) { m_slots[index].text = std::move(text); }
    void mark_qsl_written(int index) { m_slots[index].qsl_written = 1; }
    void remove(int index);
    void set_current(int index) { m_current = index; }
    void set_edit_slot(int index) { m_edit_slot = index; }

private:
    std::vector<NetSlot> m_slots;
    int m_current = 0;
    int m_edit_slot = -1;
};

// The entry written at log-on: time off equal to time on, QSL flags clear.
LogRecord log_on_record(int16_t date, std::string_view hhmm, const NetContact& contact, int band,
                        std::string_view mode, std::string_view power);

// Rewrites the call, reports and comment of a logged-on entry after an edit of its slot.
LogStatus write_slot_edit(LogStore& log, int record, const NetContact& contact);

// Completes the entry of a slot from its text: time off, reports, comment and QSL mark.
// When it was written and its received report is above `mark_above`, the contact is marked
// in the chart on `band`, the band selected at log-off.
LogStatus write_log_off(LogStore& log, CountryList& countries, DxccChart& chart,
                        const NetSlot& slot, std::string_view hhmm, int band, int mark_above);

}  // namespace vl
