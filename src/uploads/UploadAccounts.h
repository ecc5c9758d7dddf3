// UPLOADS.TXT: the operator's accounts with the services the log uploads to, kept apart from
// DBNAMES.TXT because it holds passwords and keys, readable by the operator alone (mode
// 0600), as CALLBOOK.TXT is. One "name=value" line for each value, CR LF each.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace vl {

inline constexpr std::string_view kUploadAccountsFile = "UPLOADS.TXT";

enum class Service { ClubLog, Qrz, Eqsl, Lotw };
inline constexpr std::array<Service, 4> kServices = {Service::ClubLog, Service::Qrz, Service::Eqsl,
                                                     Service::Lotw};

// The name the operator hears ("Club Log") and the one the queue file writes ("CLUBLOG").
std::string_view service_name(Service service);
std::string_view service_tag(Service service);

inline constexpr std::string_view kClubLogAddress = "https://clublog.org/realtime.php";
inline constexpr std::string_view kQrzAddress = "https://logbook.qrz.com/api";
inline constexpr std::string_view kEqslAddress = "https://www.eqsl.cc/qslcard/ImportADIF.cfm";

struct UploadAccounts {
    // Club Log's real-time interface: the account's e-mail and password, the call of the
    // log, and the application key Club Log gives a logging program.
    std::string clublog_email, clublog_password, clublog_call, clublog_key;
    std::string clublog_address{kClubLogAddress};
    // QRZ Logbook: the logbook's API key.
    std::string qrz_key;
    std::string qrz_address{kQrzAddress};
    // eQSL: the user (the call) and password.
    std::string eqsl_user, eqsl_password;
    std::string eqsl_address{kEqslAddress};
    // LoTW: the TrustedQSL station location, and tqsl (a name on PATH or a full path).
    std::string lotw_location;
    std::string lotw_program{"tqsl"};

    // The operator has filled in what the service needs: its contacts are queued.
    bool set_up(Service service) const;
    bool operator==(const UploadAccounts&) const = default;
};

// Unknown names and malformed lines are passed over; an empty address is the default.
UploadAccounts parse_upload_accounts(std::string_view text);
std::string format_upload_accounts(const UploadAccounts& accounts);
bool save_upload_accounts(platform::FileSystem& files, const std::string& program_dir,
                          const UploadAccounts& accounts);

// True for an address a password or key may be sent to: HTTPS, or plain HTTP to this
// machine only (a local stand-in of the service).
bool safe_upload_address(std::string_view address);

}  // namespace vl
