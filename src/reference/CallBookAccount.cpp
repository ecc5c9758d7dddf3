// CALLBOOK.TXT.
#include "reference/CallBookAccount.h"

#include <array>

#include "logstore/Text.h"

namespace vl {

namespace {

// A line break typed or pasted into a value would split it across lines of the file.
std::string one_line(std::string_view value) {
    std::string line(value);
    std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
    return line;
}

}  // namespace

CallBookAccount parse_callbook_account(std::string_view text) {
    std::array<std::string, 3> lines;
    for (std::string& line : lines) {
        if (text.empty()) {
            break;
        }
        line = take_line(text);
    }
    CallBookAccount account;
    account.user_name = lines[0];
    account.password = lines[1];
    std::string_view address = trim(lines[2]);
    account.address = address.empty() ? kDefaultCallBookAddress : address;
    return account;
}

std::string format_callbook_account(const CallBookAccount& account) {
    return one_line(account.user_name) + "\r\n" + one_line(account.password) + "\r\n" +
           one_line(account.address) + "\r\n";
}

bool save_callbook_account(platform::FileSystem& files, const std::string& program_dir,
                           const CallBookAccount& account) {
    return platform::replace_private_file(files, program_dir + std::string(kCallBookAccountFile),
                                          format_callbook_account(account));
}

}  // namespace vl
