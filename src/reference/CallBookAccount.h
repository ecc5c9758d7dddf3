// CALLBOOK.TXT: the operator's account with the on-line call book, kept apart from
// DBNAMES.TXT because it holds a password. Three lines, each ended by CR LF: user name,
// password, and the address of the service. Only the operator may read it (mode 0600).
#pragma once

#include <string>
#include <string_view>

#include "platform/Files.h"

namespace vl {

inline constexpr std::string_view kCallBookAccountFile = "CALLBOOK.TXT";
// The service used when the file names none.
inline constexpr std::string_view kDefaultCallBookAddress = "https://xmldata.qrz.com/xml/current/";

struct CallBookAccount {
    std::string user_name;
    std::string password;
    std::string address{kDefaultCallBookAddress};

    bool operator==(const CallBookAccount&) const = default;
};

// Lines the file does not have leave their values empty; an empty address is the default.
CallBookAccount parse_callbook_account(std::string_view text);
std::string format_callbook_account(const CallBookAccount& account);

// Writes the file under a temporary name, readable by the operator alone, and renames it
// over the old one. False when it could not be written.
bool save_callbook_account(platform::FileSystem& files, const std::string& program_dir,
                           const CallBookAccount& account);

}  // namespace vl
