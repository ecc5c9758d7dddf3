// The rules of the QSO net, with no window: who may log on, the entry a log-on, an edit and
// a log-off write, and the verdict said of a call.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logging/ContactChecks.h"
#include "logging/QsoNet.h"
#include "logstore/LogStore.h"
#include "platform/Clock.h"

namespace vl {

// A contact as its boxes hold it.
struct TypedContact {
    std::string call, rst_sent, rst_received, comment;
};

// The slot on the net a log-on of `call` would repeat, or -1. CQ may be logged on any
// number of times, and a slot being edited may keep its own call.
int duplicate_on_net(const QsoNet& net, std::string_view call);

// The date code of a log-on `today`, or nothing when the log cannot hold that date.
std::optional<int16_t> log_on_date(const platform::DateTime& today);

// The entry written at log-on: time off equal to time on, QSL flags clear, and an empty
// report given the mode's usual one unless the call is CQ.
QsoEntry log_on_entry(const TypedContact& contact, int16_t date, std::string_view hhmm, int band,
                      std::string_view mode, std::string_view power);

// Appends the entry to the log and, once it is written, puts the station on the net.
LogStatus write_log_on(LogStore& log, QsoNet& net, const QsoEntry& entry, bool qsl_written);

// Rewrites the call, reports and comment of the slot being edited, then ends the edit.
LogStatus write_slot_edit(LogStore& log, QsoNet& net, const TypedContact& contact);

// Completes the entry of a slot: time off, reports, comment and QSL mark. When it was written
// and its received report is above `mark_above`, the contact is marked in the chart on
// `band`, the band selected at log-off.
LogStatus write_log_off(LogStore& log, CountryList& countries, DxccChart& chart,
                        const NetSlot& slot, std::string_view hhmm, int band, int mark_above);

// What the contact checks read: the log, the countries and chart on the band shown, the
// home location, and how dates and frequencies are said.
struct CheckBooks {
    const LogStore& log;
    CountryList& countries;
    const DxccChart& chart;
    int band;
    std::string_view latitude, longitude;
    int date_format;
    const std::array<std::string, 15>& frequency_names;
};

struct CallCheck {
    PreviousContact previous;
    CountryCheck country;
    std::string verdict;
};

// The newest entry of `call`, passing over the stations on the net.
PreviousContact net_previous_contact(const CheckBooks& books, const QsoNet& net,
                                     std::string_view call);

// The checks of a call typed in `mode`. A station on the net is said as such before
// anything else, and its country, being worked now, is not new.
CallCheck check_call(const CheckBooks& books, const QsoNet& net, std::string_view call,
                     std::string_view mode);

// "G4ABC. " and the verdict of the station in `slot`, in the mode of its entry.
std::string slot_verdict(const CheckBooks& books, const QsoNet& net, int slot);

}  // namespace vl
