// The contacts and callers a digital-mode program reports, turned into what the log holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "digital/WsjtxMessages.h"
#include "logstore/LogEntry.h"

namespace vl {

// The log's three-character mode of a WSJT-X mode name (FT8, FT4, JT65, MSK144, Q65 ...):
// the form an ADIF export writes and an import reads back.
std::string digital_log_mode(std::string_view mode);

// The entry of a "QSO Logged" message; nothing when its date is not one the log can hold
// or it has no call. Name and grid follow the comment while there is room.
std::optional<QsoEntry> logged_entry(const wsjtx::QsoLogged& qso);

// The entry of a "Logged ADIF" message's one record.
std::optional<LogRecord> logged_adif_entry(std::string_view adif);

// What makes two reports of one contact the same: base call, date, time on and band.
std::string contact_key(const LogRecord& record);

// The station a decode of a CQ calls from ("CQ JA1XYZ PM95", "CQ DX K1ABC FN42"), or
// nothing when the decode is no CQ.
std::optional<std::string> cq_caller(std::string_view message);

}  // namespace vl
