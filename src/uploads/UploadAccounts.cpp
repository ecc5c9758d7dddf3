// UPLOADS.TXT.
#include "uploads/UploadAccounts.h"

#include <utility>
#include <vector>

#include "logstore/Text.h"

namespace vl {

namespace {

// The file's names and the values they hold, in the file's order.
std::vector<std::pair<std::string_view, std::string UploadAccounts::*>> fields() {
    return {
        {"clublog_email", &UploadAccounts::clublog_email},
        {"clublog_password", &UploadAccounts::clublog_password},
        {"clublog_call", &UploadAccounts::clublog_call},
        {"clublog_key", &UploadAccounts::clublog_key},
        {"clublog_address", &UploadAccounts::clublog_address},
        {"qrz_key", &UploadAccounts::qrz_key},
        {"qrz_address", &UploadAccounts::qrz_address},
        {"eqsl_user", &UploadAccounts::eqsl_user},
        {"eqsl_password", &UploadAccounts::eqsl_password},
        {"eqsl_address", &UploadAccounts::eqsl_address},
        {"lotw_location", &UploadAccounts::lotw_location},
        {"lotw_program", &UploadAccounts::lotw_program},
    };
}

std::string one_line(std::string_view value) {
    std::string line(value);
    std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
    return line;
}

bool filled(const std::string& value) {
    return !trim(value).empty();
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return out;
}

}  // namespace

std::string_view service_name(Service service) {
    switch (service) {
        case Service::ClubLog:
            return "Club Log";
        case Service::Qrz:
            return "QRZ";
        case Service::Eqsl:
            return "eQSL";
        case Service::Lotw:
            return "LoTW";
    }
    return "";
}

std::string_view service_tag(Service service) {
    switch (service) {
        case Service::ClubLog:
            return "CLUBLOG";
        case Service::Qrz:
            return "QRZ";
        case Service::Eqsl:
            return "EQSL";
        case Service::Lotw:
            return "LOTW";
    }
    return "";
}

bool UploadAccounts::set_up(Service service) const {
    switch (service) {
        case Service::ClubLog:
            return filled(clublog_email) && filled(clublog_password) && filled(clublog_call) &&
                   filled(clublog_key);
        case Service::Qrz:
            return filled(qrz_key);
        case Service::Eqsl:
            return filled(eqsl_user) && filled(eqsl_password);
        case Service::Lotw:
            return filled(lotw_location);
    }
    return false;
}

UploadAccounts parse_upload_accounts(std::string_view text) {
    UploadAccounts accounts;
    const auto known = fields();
    while (!text.empty()) {
        std::string line(take_line(text));
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string_view name = trim(std::string_view(line).substr(0, equals));
        for (const auto& [field_name, member] : known) {
            if (name == field_name) {
                accounts.*member = line.substr(equals + 1);
            }
        }
    }
    const UploadAccounts defaults;
    for (auto member : {&UploadAccounts::clublog_address, &UploadAccounts::qrz_address,
                        &UploadAccounts::eqsl_address, &UploadAccounts::lotw_program}) {
        if (!filled(accounts.*member)) {
            accounts.*member = defaults.*member;
        }
    }
    return accounts;
}

std::string format_upload_accounts(const UploadAccounts& accounts) {
    std::string text;
    for (const auto& [name, member] : fields()) {
        text += name;
        text += '=';
        text += one_line(accounts.*member);
        text += "\r\n";
    }
    return text;
}

bool save_upload_accounts(platform::FileSystem& files, const std::string& program_dir,
                          const UploadAccounts& accounts) {
    return platform::replace_private_file(files, program_dir + std::string(kUploadAccountsFile),
                                          format_upload_accounts(accounts));
}

bool safe_upload_address(std::string_view address) {
    const std::string text = lower(address);
    if (text.rfind("https://", 0) == 0) {
        return text.size() > 8;
    }
    for (std::string_view local : {"http://127.0.0.1", "http://localhost", "http://[::1]"}) {
        if (text.rfind(local, 0) == 0 && (text.size() == local.size() ||
                                          text[local.size()] == ':' || text[local.size()] == '/')) {
            return true;
        }
    }
    return false;
}

}  // namespace vl
