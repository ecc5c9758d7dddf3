// The QSO net of on-line logging: up to 50 stations logged on at once, each a slot that
// holds its log record, its QSL-written mark and its contact as logged on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "logstore/LogEntry.h"

namespace vl {

constexpr int kNetSize = 50;

struct NetSlot {
    int record = 0;
    uint8_t qsl_written = 0;
    QsoEntry entry;  // as the log holds it, fields padded; an edit of the slot changes it
};

// The station of a slot, no trailing blanks.
std::string slot_call(const NetSlot& slot);
// A slot in words, the call letter by letter: "QSO 3, J A 1 X Y Z, on at 0756, 579 sent,
// 449 received, first JA". Empty reports and comment are left out.
std::string spoken_slot(int number, const QsoEntry& entry);
// "On the net, QSO 1, G4ABC.": the slot numbered from 1.
std::string on_the_net(int slot, std::string_view call);

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
    void set_entry(int index, QsoEntry entry) { m_slots[index].entry = std::move(entry); }
    void mark_qsl_written(int index) { m_slots[index].qsl_written = 1; }
    void remove(int index);
    void set_current(int index) { m_current = index; }
    void set_edit_slot(int index) { m_edit_slot = index; }

private:
    std::vector<NetSlot> m_slots;
    int m_current = 0;
    int m_edit_slot = -1;
};

}  // namespace vl
