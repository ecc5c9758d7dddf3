// The QSO net and its log writes. Every write goes through the log store, so a log-on or
// log-off cut short leaves the entry whole, as it was or as it became.
#include "logging/QsoNet.h"

#include <algorithm>

#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/LogEntry.h"
#include "logstore/Text.h"

namespace vl {

namespace {

std::string padded(std::string_view text, std::size_t width) {
    std::string field(text.substr(0, std::min(text.size(), width)));
    field.resize(width, ' ');
    return field;
}

// The time code of the clock's "HH:MM".
int16_t clock_minutes(std::string_view hhmm) {
    return static_cast<int16_t>(time_code_of_text(std::string(hhmm.substr(0, 2)) +
                                                  std::string(hhmm.substr(hhmm.size() - 2))));
}

}  // namespace

NetContact net_contact(std::string_view call, std::string_view rst_sent,
                       std::string_view rst_received, std::string_view comment) {
    return {padded(call, 12), padded(rst_sent, 7), padded(rst_received, 7), padded(comment, 40)};
}

std::string slot_text(const NetContact& c, std::string_view hhmm) {
    return c.call + "," + std::string(hhmm) + "," + c.rst_sent + "," + c.rst_received + "," +
           c.comment;
}

std::vector<int> QsoNet::records() const {
    std::vector<int> numbers;
    numbers.reserve(m_slots.size());
    for (const NetSlot& s : m_slots) {
        numbers.push_back(s.record);
    }
    return numbers;
}

std::string spoken_slot(int number, std::string_view text) {
    std::string words = "QSO" + plain_number(number) + ",";
    if (text.size() < 35) {
        return words + " ";
    }
    for (char c : trim_right(text.substr(0, 12))) {
        words += ' ';
        words += c;
    }
    const std::string_view time = text.substr(13, 5);
    words += ", on at " + std::string(time.substr(0, 2)) + std::string(time.substr(3, 2));
    const std::string_view sent = trim(text.substr(19, 7)), received = trim(text.substr(27, 7));
    const std::string_view comment = trim_right(text.substr(35));
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

std::string on_the_net(int slot, std::string_view text) {
    return "On the net, QSO" + plain_number(slot + 1) + ", " +
           std::string(trim_right(text.substr(0, std::min<std::size_t>(12, text.size())))) + ".";
}

std::string QsoNet::box_text() const {
    if (m_current >= count()) {
        return "QSO" + plain_number(m_current + 1) + ", ";
    }
    return spoken_slot(m_current + 1, m_slots[m_current].text);
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
        const std::string_view slot_call =
            trim_right(std::string_view(m_slots[i].text).substr(0, 12));
        if (base_call_slot(std::string(slot_call) + " ") == wanted) {
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

LogRecord log_on_record(int16_t date, std::string_view hhmm, const NetContact& contact, int band,
                        std::string_view mode, std::string_view power) {
    QsoEntry e;
    e.date = date;
    e.time_on = clock_minutes(hhmm);
    e.time_off = e.time_on;
    e.call = contact.call;
    e.rst_sent = contact.rst_sent;
    e.rst_received = contact.rst_received;
    e.band_field = band_field_of(band);
    e.mode = mode;
    e.power = power;
    e.comment = contact.comment;
    return encode(e);
}

LogStatus write_slot_edit(LogStore& log, int record, const NetContact& contact) {
    if (record < 1 || record > log.count()) {
        return LogStatus::NoSuchEntry;
    }
    QsoEntry e = decode_qso(log.entry(record));
    e.call = contact.call;
    e.rst_sent = contact.rst_sent;
    e.rst_received = contact.rst_received;
    e.comment = contact.comment;
    return log.write_entry(record, encode(e));
}

LogStatus write_log_off(LogStore& log, CountryList& countries, DxccChart& chart,
                        const NetSlot& slot, std::string_view hhmm, int band, int mark_above) {
    if (slot.record < 1 || slot.record > log.count() || slot.text.size() < 75) {
        return LogStatus::NoSuchEntry;
    }
    QsoEntry e = decode_qso(log.entry(slot.record));
    std::string_view text = slot.text;
    e.call = text.substr(0, 12);
    e.time_off = clock_minutes(hhmm);
    e.rst_sent = text.substr(19, 7);
    e.rst_received = text.substr(27, 7);
    e.comment = text.substr(text.size() - 40);
    e.qsl_flags = slot.qsl_written;
    LogRecord record = encode(e);
    LogStatus status = log.write_entry(slot.record, record);
    if (status == LogStatus::Ok && leading_number(record.view(25, 7)) > mark_above) {
        chart.mark(countries.find(record.call_field()), band, mode_class(record.view(35, 3)), 0);
    }
    return status;
}

}  // namespace vl
