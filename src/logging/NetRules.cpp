// The net's rules. Every write goes through the log store, so a log-on or log-off cut short
// leaves the entry whole, as it was or as it became.
#include "logging/NetRules.h"

#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

// The time code of the clock's "HH:MM".
int16_t clock_minutes(std::string_view hhmm) {
    return static_cast<int16_t>(time_code_of_text(std::string(hhmm.substr(0, 2)) +
                                                  std::string(hhmm.substr(hhmm.size() - 2))));
}

void take_contact(QsoEntry& e, const TypedContact& c) {
    e.call = fit(c.call, 12);
    e.rst_sent = fit(c.rst_sent, 7);
    e.rst_received = fit(c.rst_received, 7);
    e.comment = fit(c.comment, 40);
}

CountryCheck country_of(const CheckBooks& books, std::string_view call, std::string_view mode) {
    return check_country(books.countries, books.chart, call, books.band, mode, books.latitude,
                         books.longitude);
}

}  // namespace

std::optional<int16_t> log_on_date(const platform::DateTime& today) {
    const int date = date_code(today.year - 1900, today.month, today.day);
    if (date > kMaxDateCode || date < kMinDateCode) {
        return std::nullopt;
    }
    return static_cast<int16_t>(date);
}

PreviousContact net_previous_contact(const CheckBooks& books, const QsoNet& net,
                                     std::string_view call) {
    return previous_contact(books.log, call, net.records(), books.date_format,
                            books.frequency_names);
}

int duplicate_on_net(const QsoNet& net, std::string_view call) {
    const int on_net = call == "CQ" ? -1 : net.find(call);
    return on_net == net.edit_slot() ? -1 : on_net;
}

QsoEntry log_on_entry(const TypedContact& contact, int16_t date, std::string_view hhmm, int band,
                      std::string_view mode, std::string_view power) {
    TypedContact c = contact;
    if (c.call != "CQ") {
        const std::string_view report = default_report(mode);
        for (std::string* field : {&c.rst_sent, &c.rst_received}) {
            if (trim_right(*field).empty()) {
                *field = report;
            }
        }
    }
    QsoEntry e;
    e.date = date;
    e.time_on = clock_minutes(hhmm);
    e.time_off = e.time_on;
    take_contact(e, c);
    e.band_field = band_field_of(band);
    e.mode = mode;
    e.power = power;
    return e;
}

LogStatus write_log_on(LogStore& log, QsoNet& net, const QsoEntry& entry, bool qsl_written) {
    const int number = log.count() + 1;
    const LogRecord record = encode(entry);
    const LogStatus status = log.write_entry(number, record);
    if (status == LogStatus::Ok) {
        net.add({number, static_cast<uint8_t>(qsl_written ? 1 : 0), decode_qso(record)});
    }
    return status;
}

LogStatus write_slot_edit(LogStore& log, QsoNet& net, const TypedContact& contact) {
    const int slot = net.edit_slot();
    const int record = net.slot(slot).record;
    if (record < 1 || record > log.count()) {
        return LogStatus::NoSuchEntry;
    }
    QsoEntry e = decode_qso(log.entry(record));
    take_contact(e, contact);
    const LogStatus status = log.write_entry(record, encode(e));
    if (status == LogStatus::Ok) {
        QsoEntry shown = net.slot(slot).entry;
        take_contact(shown, contact);
        net.set_entry(slot, std::move(shown));
        net.set_edit_slot(-1);
    }
    return status;
}

LogStatus write_log_off(LogStore& log, CountryList& countries, DxccChart& chart,
                        const NetSlot& slot, std::string_view hhmm, int band, int mark_above) {
    if (slot.record < 1 || slot.record > log.count()) {
        return LogStatus::NoSuchEntry;
    }
    QsoEntry e = decode_qso(log.entry(slot.record));
    e.call = slot.entry.call;
    e.time_off = clock_minutes(hhmm);
    e.rst_sent = slot.entry.rst_sent;
    e.rst_received = slot.entry.rst_received;
    e.comment = slot.entry.comment;
    e.qsl_flags = slot.qsl_written;
    LogStatus status = log.write_entry(slot.record, encode(e));
    if (status == LogStatus::Ok && leading_number(e.rst_received) > mark_above) {
        chart.mark(countries.find(e.call), band, mode_class(e.mode), 0);
    }
    return status;
}

CallCheck check_call(const CheckBooks& books, const QsoNet& net, std::string_view call,
                     std::string_view mode) {
    CallCheck check{net_previous_contact(books, net, call), country_of(books, call, mode), {}};
    const int on_net = net.find(call);
    if (on_net >= 0) {
        forget_news(check.country);
    }
    check.verdict = contact_verdict(books.log, check.previous, check.country);
    if (on_net >= 0) {
        check.verdict = on_the_net(on_net, net.slot(on_net).entry.call) + " " + check.verdict;
    }
    return check;
}

std::string slot_verdict(const CheckBooks& books, const QsoNet& net, int slot) {
    const std::string call = slot_call(net.slot(slot));
    CountryCheck country = country_of(books, call, net.slot(slot).entry.mode);
    forget_news(country);
    return call + ". " +
           contact_verdict(books.log, net_previous_contact(books, net, call), country);
}

}  // namespace vl
