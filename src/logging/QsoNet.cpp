// The QSO net: its slots, the walk through them and how a slot is said.
#include "logging/QsoNet.h"

#include <algorithm>

#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

std::string slot_call(const NetSlot& slot) {
    return std::string(trim_right(slot.entry.call));
}

std::vector<int> QsoNet::records() const {
    std::vector<int> numbers;
    numbers.reserve(m_slots.size());
    for (const NetSlot& s : m_slots) {
        numbers.push_back(s.record);
    }
    return numbers;
}

std::string spoken_slot(int number, const QsoEntry& entry) {
    std::string words = "QSO" + plain_number(number) + ",";
    for (char c : trim_right(entry.call)) {
        words += ' ';
        words += c;
    }
    words += ", on at " + time_text(entry.time_on);
    const std::string_view sent = trim(entry.rst_sent), received = trim(entry.rst_received);
    const std::string_view comment = trim_right(entry.comment);
    if (!sent.empty()) {
        words += ", " + std::string(sent) + " sent";
    }
    if (!received.empty()) {
        words += ", " + std::string(received) + " received";
    }
    if (!comment.empty()) {
        words += ", " + std::string(comment);
    }
    return words;
}

std::string on_the_net(int slot, std::string_view call) {
    return "On the net, QSO" + plain_number(slot + 1) + ", " + std::string(trim_right(call)) + ".";
}

std::string QsoNet::box_text() const {
    if (m_current >= count()) {
        return "QSO" + plain_number(m_current + 1) + ", ";
    }
    return spoken_slot(m_current + 1, m_slots[m_current].entry);
}

bool QsoNet::next() {
    const int before = m_current;
    m_current = m_current < count() - 1 ? m_current + 1 : 0;
    return count() > 0 && m_current <= before;
}

bool QsoNet::previous() {
    if (count() == 0) {
        return false;
    }
    const int before = m_current;
    m_current = m_current > 0 ? m_current - 1 : count() - 1;
    return m_current >= before;
}

int QsoNet::find(std::string_view call) const {
    // A trailing blank ends the call, as in the call field, so "/P" is seen at its end.
    const std::string wanted = base_call_slot(std::string(trim_right(call)) + " ");
    for (int i = 0; i < count(); ++i) {
        if (base_call_slot(slot_call(m_slots[i]) + " ") == wanted) {
            return i;
        }
    }
    return -1;
}

void QsoNet::add(NetSlot slot) {
    if (count() > 0) {
        ++m_current;
    }
    m_current = std::min(m_current, count());
    m_slots.insert(m_slots.begin() + m_current, std::move(slot));
}

void QsoNet::remove(int index) {
    m_slots.erase(m_slots.begin() + index);
    if (m_edit_slot == index) {
        m_edit_slot = -1;
    }
}

}  // namespace vl
