// Each service's request and what its answer means.
#include "uploads/UploadServices.h"

#include <cstdio>

#include "logstore/Text.h"
#include "platform/Cp1252.h"

namespace vl {

namespace {

using platform::form_value;

using Verdict = UploadAnswer::Verdict;

constexpr std::size_t kReasonLimit = 100;

// A service's words as a sentence may carry them: tags and control bytes out, runs of
// blanks made one, cut to a sentence's length.
std::string plain_words(std::string_view text) {
    std::string out;
    bool in_tag = false;
    for (char c : text) {
        if (c == '<') {
            in_tag = true;
        } else if (c == '>') {
            in_tag = false;
            c = ' ';
        }
        if (in_tag) {
            continue;
        }
        auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte > 126) {
            c = ' ';
        }
        if (c == ' ' && (out.empty() || out.back() == ' ')) {
            continue;
        }
        out += c;
        if (out.size() >= kReasonLimit) {
            break;
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) {
        out.pop_back();
    }
    return out;
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

bool contains(std::string_view text, std::string_view part) {
    return lower(text).find(lower(part)) != std::string::npos;
}

std::string seconds(std::chrono::milliseconds limit) {
    const auto count = limit.count() / 1000;
    return std::to_string(count) + (count == 1 ? " second" : " seconds");
}

UploadAnswer answer(Verdict verdict, std::string reason = {}) {
    return {verdict, std::move(reason)};
}

UploadAnswer server_error(long code) {
    return answer(Verdict::Failed, "the server failed, HTTP error " + std::to_string(code));
}

const UploadAnswer kGarbage{Verdict::Failed, "its answer could not be read"};

// The value of one name in a "NAME=value&NAME=value" answer.
std::string field_of(std::string_view body, std::string_view name) {
    std::string_view rest = body;
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        std::string_view pair = rest.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && trim(pair.substr(0, equals)) == name) {
            std::string value;
            std::string_view raw = pair.substr(equals + 1);
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '+') {
                    value += ' ';
                } else if (raw[i] == '%' && i + 2 < raw.size()) {
                    unsigned int byte = 0;
                    if (std::sscanf(std::string(raw.substr(i + 1, 2)).c_str(), "%2x", &byte) == 1) {
                        value += static_cast<char>(byte);
                        i += 2;
                    } else {
                        value += raw[i];
                    }
                } else {
                    value += raw[i];
                }
            }
            return value;
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return {};
}

std::string without_secrets(std::string text, const UploadAccounts& accounts) {
    for (const std::string* secret : {&accounts.clublog_password, &accounts.clublog_key,
                                      &accounts.qrz_key, &accounts.eqsl_password}) {
        if (secret->size() < 3) {
            continue;
        }
        for (std::size_t at = text.find(*secret); at != std::string::npos;
             at = text.find(*secret, at)) {
            text.replace(at, secret->size(), "****");
        }
    }
    return text;
}

UploadAnswer post(const UploadTools& tools, const std::string& address, std::string body,
                  std::string content_type, UploadAnswer (*read)(long, std::string_view)) {
    if (tools.http == nullptr) {
        return answer(Verdict::Failed, "uploads are not available in this version");
    }
    if (!safe_upload_address(address)) {
        return answer(Verdict::Failed, "its address in UPLOADS.TXT must start with https://");
    }
    platform::HttpRequest request;
    request.url = address;
    request.form = std::move(body);
    request.content_type = std::move(content_type);
    request.deadline = std::chrono::steady_clock::now() + tools.request_limit;
    request.cancel = tools.cancel;
    const platform::HttpReply reply = tools.http->post(request);
    switch (reply.status) {
        case platform::HttpStatus::Ok:
            return read(reply.code, reply.body);
        case platform::HttpStatus::TimedOut:
            return answer(Verdict::Failed, "no answer within " + seconds(tools.request_limit));
        case platform::HttpStatus::Unreachable:
            return answer(Verdict::Failed, "it could not be reached");
        case platform::HttpStatus::TooLarge:
            return kGarbage;
        case platform::HttpStatus::Cancelled:
            return answer(Verdict::Failed, "cancelled");
    }
    return kGarbage;
}

UploadAnswer send_one(const UploadTools& tools, const UploadAccounts& accounts, Service service,
                      const QueuedContact& contact, const std::string& record) {
    switch (service) {
        case Service::ClubLog:
            return post(tools, accounts.clublog_address,
                        "email=" + form_value(trim(accounts.clublog_email)) +
                            "&password=" + form_value(accounts.clublog_password) +
                            "&callsign=" + form_value(trim(accounts.clublog_call)) + "&api=" +
                            form_value(trim(accounts.clublog_key)) + "&adif=" + form_value(record),
                        {}, read_club_log_answer);
        case Service::Qrz:
            return post(tools, accounts.qrz_address,
                        "KEY=" + form_value(trim(accounts.qrz_key)) + "&ACTION=INSERT" +
                            (contact.changed ? "&OPTION=REPLACE" : "") +
                            "&ADIF=" + form_value(record),
                        {}, read_qrz_answer);
        case Service::Eqsl: {
            // A file upload, as the import form takes it.
            const std::string boundary = "----VarrowLogUpload7d93a1";
            std::string body;
            const auto part = [&](std::string_view name, std::string_view value,
                                  std::string_view file_name) {
                body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"";
                body += name;
                body += '"';
                if (!file_name.empty()) {
                    body += "; filename=\"";
                    body += file_name;
                    body += "\"\r\nContent-Type: text/plain";
                }
                body += "\r\n\r\n";
                body += value;
                body += "\r\n";
            };
            part("EQSL_USER", platform::utf8_from_cp1252(trim(accounts.eqsl_user)), {});
            part("EQSL_PSWD", platform::utf8_from_cp1252(accounts.eqsl_password), {});
            part("Filename", upload_file_text({record}), "upload.adi");
            body += "--" + boundary + "--\r\n";
            return post(tools, accounts.eqsl_address, std::move(body),
                        "multipart/form-data; boundary=" + boundary, read_eqsl_answer);
        }
        case Service::Lotw:
            break;
    }
    return kGarbage;
}

UploadOutcome send_to_lotw(const UploadTools& tools, const UploadAccounts& accounts,
                           const UploadJob& job) {
    UploadOutcome outcome;
    outcome.service = job.service;
    outcome.left = static_cast<int>(job.contacts.size());
    if (tools.programs == nullptr) {
        outcome.failure = "uploads through tqsl are not available in this version";
        return outcome;
    }
    const std::string text = upload_file_text(job.records);
    // A file of our own beside the log, removed after the run; tqsl reads it by name.
    const std::string file = tools.work_folder + "LOTWSEND.ADI";
    platform::FileSystem& files = tools.files != nullptr ? *tools.files : platform::system_files();
    if (!platform::write_whole_file(files, file, text)) {
        outcome.failure = "LOTWSEND.ADI could not be written";
        return outcome;
    }
    const platform::ProgramRun run = tools.programs->run(
        {trim(accounts.lotw_program).empty() ? std::string("tqsl")
                                             : std::string(trim(accounts.lotw_program)),
         "-d", "-u", "-a", "compliant", "-x", "-l", std::string(trim(accounts.lotw_location)),
         file},
        std::chrono::steady_clock::now() + tools.tqsl_limit, tools.cancel);
    files.remove(file);
    switch (run.outcome) {
        case platform::ProgramRun::Outcome::NotFound:
            outcome.failure = "tqsl was not found; give its place on the LoTW screen";
            return outcome;
        case platform::ProgramRun::Outcome::TimedOut:
            outcome.failure = "tqsl did not finish within " + seconds(tools.tqsl_limit);
            return outcome;
        case platform::ProgramRun::Outcome::Cancelled:
            outcome.failure = "cancelled";
            return outcome;
        case platform::ProgramRun::Outcome::Crashed:
            outcome.failure = "tqsl stopped unexpectedly";
            return outcome;
        case platform::ProgramRun::Outcome::Exited:
            break;
    }
    const UploadAnswer status = read_tqsl_status(run.exit_code);
    if (status.verdict == Verdict::Failed) {
        outcome.failure = status.reason;
        return outcome;
    }
    outcome.left = 0;
    outcome.done = job.contacts;
    (status.verdict == Verdict::Held ? outcome.held : outcome.sent) =
        static_cast<int>(job.contacts.size());
    return outcome;
}

}  // namespace

std::string upload_file_text(const std::vector<std::string>& records) {
    std::string text = "Varrow Log upload\r\n<eoh>\r\n";
    for (const std::string& record : records) {
        text += record;
        text += "\r\n";
    }
    return text;
}

UploadAnswer read_club_log_answer(long code, std::string_view body) {
    const std::string words = plain_words(body);
    const bool duplicate = contains(words, "dupe") || contains(words, "duplicate");
    if (code == 200) {
        if (duplicate) {
            return answer(Verdict::Held);
        }
        if (words == "OK" || words.starts_with("QSO OK") || words.starts_with("Updated QSO")) {
            return answer(Verdict::Sent);
        }
        return kGarbage;
    }
    if (code == 403) {
        return answer(Verdict::Failed, "wrong e-mail, password or application key");
    }
    if (code == 400) {
        if (duplicate) {
            return answer(Verdict::Held);
        }
        return answer(Verdict::Refused, words.empty() ? "no reason given" : words);
    }
    return server_error(code);
}

UploadAnswer read_qrz_answer(long code, std::string_view body) {
    if (code != 200) {
        return server_error(code);
    }
    const std::string result = field_of(body, "RESULT");
    const std::string reason = plain_words(field_of(body, "REASON"));
    if (result == "OK" || result == "REPLACE") {
        return answer(Verdict::Sent);
    }
    if (result == "AUTH") {
        return answer(Verdict::Failed, "wrong API key");
    }
    if (result == "FAIL") {
        if (contains(reason, "duplicate")) {
            return answer(Verdict::Held);
        }
        if (contains(reason, "invalid api key") || contains(reason, "access denied")) {
            return answer(Verdict::Failed, "wrong API key");
        }
        return answer(Verdict::Refused, reason.empty() ? "no reason given" : reason);
    }
    return kGarbage;
}

UploadAnswer read_eqsl_answer(long code, std::string_view body) {
    if (code != 200) {
        return server_error(code);
    }
    const std::string words = plain_words(body.substr(0, 4096));
    if (contains(words, "no match on eqsl_user")) {
        return answer(Verdict::Failed, "wrong user or password");
    }
    if (contains(words, "duplicate")) {
        return answer(Verdict::Held);
    }
    if (contains(words, "result: 1 out of 1 records added")) {
        return answer(Verdict::Sent);
    }
    const std::string all = std::string(body.substr(0, 4096));
    const std::size_t bad = lower(all).find("bad record:");
    if (bad != std::string::npos) {
        return answer(Verdict::Refused, plain_words(std::string_view(all).substr(bad + 11)));
    }
    const std::size_t error = lower(all).find("error:");
    if (error != std::string::npos) {
        return answer(Verdict::Refused, plain_words(std::string_view(all).substr(error + 6)));
    }
    return kGarbage;
}

UploadAnswer read_tqsl_status(int exit_code) {
    switch (exit_code) {
        case 0:
            return answer(Verdict::Sent);
        case 8:
            return answer(Verdict::Held);
        case 9:
            return answer(Verdict::Sent);  // some were signed, the rest LoTW had already
        case 1:
            return answer(Verdict::Failed, "tqsl was cancelled");
        case 2:
            return answer(Verdict::Failed, "LoTW rejected the upload");
        case 3:
            return answer(Verdict::Failed, "LoTW sent an unexpected answer");
        case 4:
        case 5:
            return answer(Verdict::Failed,
                          "tqsl could not sign the contacts, check the station location");
        case 6:
        case 7:
            return answer(Verdict::Failed, "tqsl could not read or write the upload file");
        case 10:
            // tqsl 2.6 says so of a station location it does not know.
            return answer(Verdict::Failed,
                          "tqsl refused the command, check the station location name");
        case 11:
            return answer(Verdict::Failed, "LoTW could not be reached");
        default:
            return answer(Verdict::Failed, "tqsl ended with status " + std::to_string(exit_code));
    }
}

UploadOutcome send_job(const UploadTools& tools, const UploadAccounts& accounts,
                       const UploadJob& job) {
    UploadOutcome outcome;
    if (job.contacts.empty()) {
        outcome.service = job.service;
    } else if (job.service == Service::Lotw) {
        outcome = send_to_lotw(tools, accounts, job);
    } else {
        outcome.service = job.service;
        for (std::size_t i = 0; i < job.contacts.size() && i < job.records.size(); ++i) {
            const UploadAnswer got =
                send_one(tools, accounts, job.service, job.contacts[i], job.records[i]);
            if (got.verdict == Verdict::Failed) {
                outcome.failure = got.reason;
                outcome.left = static_cast<int>(job.contacts.size() - i);
                break;
            }
            outcome.done.push_back(job.contacts[i]);
            if (got.verdict == Verdict::Sent) {
                ++outcome.sent;
            } else if (got.verdict == Verdict::Held) {
                ++outcome.held;
            } else {
                if (outcome.refused++ == 0) {
                    outcome.refusal = got.reason;
                }
            }
        }
    }
    outcome.skipped = static_cast<int>(job.skipped.size());
    outcome.done.insert(outcome.done.end(), job.skipped.begin(), job.skipped.end());
    outcome.failure = without_secrets(outcome.failure, accounts);
    outcome.refusal = without_secrets(outcome.refusal, accounts);
    return outcome;
}

}  // namespace vl
