// The on-line call book: logins, lookups and what the operator is told.
#include "reference/OnlineCallBook.h"

#include <cstdio>

#include "logstore/Text.h"
#include "platform/Cp1252.h"
#include "reference/CallBookXml.h"

namespace vl {

namespace {

using platform::form_value;

constexpr std::size_t kServerTextLimit = 100;  // of an error text the service sends

std::string fit_text(std::string_view text) {
    return std::string(text.substr(0, kServerTextLimit));
}

CallBookAnswer say(std::string_view message) {
    return CallBookAnswer::failed(std::string(message));
}

// The service's own words after ours, cut to a sentence's length.
CallBookAnswer say(std::string_view message, std::string_view server_text) {
    if (server_text.empty()) {
        return say(message);
    }
    return say(std::string(message) + ": " + fit_text(server_text));
}

std::string to_lower_ascii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return lower;
}

void join(std::string& into, std::string_view part) {
    if (part.empty()) {
        return;
    }
    if (!into.empty()) {
        into += ' ';
    }
    into += part;
}

}  // namespace

std::string name_and_address(const XmlCallBookRecord& record) {
    std::string text;
    for (const std::string* part : {&record.first_name, &record.name, &record.address1,
                                    &record.address2, &record.state, &record.country}) {
        join(text, *part);
    }
    return text;
}

bool safe_callbook_address(std::string_view address) {
    std::string lower = to_lower_ascii(address);
    if (lower.rfind("https://", 0) == 0) {
        return lower.size() > 8;
    }
    for (std::string_view local : {"http://127.0.0.1", "http://localhost", "http://[::1]"}) {
        if (lower.rfind(local, 0) == 0 &&
            (lower.size() == local.size() || lower[local.size()] == ':' ||
             lower[local.size()] == '/')) {
            return true;
        }
    }
    return false;
}

struct OnlineCallBook::Exchange {
    platform::Http& http;
    const CallBookAccount& account;
    std::chrono::steady_clock::time_point deadline;
    const std::atomic<bool>* cancel;

    // The service's reply to one request, or what to tell the operator instead.
    std::optional<CallBookAnswer> send(const std::string& form, CallBookReply& reply) {
        platform::HttpRequest request;
        request.url = account.address;
        request.form = form;
        request.deadline = deadline;
        request.cancel = cancel;
        const platform::HttpReply got = http.post(request);
        switch (got.status) {
            case platform::HttpStatus::Ok:
                break;
            case platform::HttpStatus::TimedOut:
                return say(kCallBookTimedOut);
            case platform::HttpStatus::Unreachable:
                return say(kCallBookUnreachable);
            case platform::HttpStatus::TooLarge:
                return say(kCallBookGarbage);
            case platform::HttpStatus::Cancelled:
                return CallBookAnswer{};
        }
        if (got.code != 200) {
            return say(std::string(kCallBookUnreachable) + ": HTTP error " +
                       std::to_string(got.code));
        }
        reply = parse_callbook_reply(got.body);
        if (!reply.readable) {
            return say(kCallBookGarbage);
        }
        return std::nullopt;
    }
};

std::optional<CallBookAnswer> OnlineCallBook::log_in(Exchange& exchange) {
    m_session_key.clear();
    CallBookReply reply;
    if (auto failed = exchange.send("username=" + form_value(exchange.account.user_name) +
                                        "&password=" + form_value(exchange.account.password) +
                                        "&agent=VarrowLog",
                                    reply)) {
        return failed;
    }
    if (reply.key.empty()) {
        return say(kCallBookLoginFailed, reply.error);
    }
    m_session_key = reply.key;
    return std::nullopt;
}

CallBookAnswer OnlineCallBook::look_up(const CallBookAccount& account, std::string_view call,
                                       const std::atomic<bool>* cancel) {
    const std::string wanted(trim(call));
    if (wanted.empty()) {
        return {};
    }
    if (m_http == nullptr) {
        return say(kCallBookNotAvailable);
    }
    if (trim(account.user_name).empty()) {
        return say(kCallBookNoAccount);
    }
    if (!safe_callbook_address(account.address)) {
        return say(kCallBookPlainAddress);
    }
    // A key belongs to the account that logged in; another account logs in afresh.
    const std::string owner = account.user_name + '\n' + account.address;
    if (owner != m_session_owner) {
        m_session_key.clear();
        m_session_owner = owner;
    }
    Exchange exchange{*m_http, account, std::chrono::steady_clock::now() + kCallBookTimeLimit,
                      cancel};
    bool fresh_login = false;
    if (m_session_key.empty()) {
        if (auto failed = log_in(exchange)) {
            return *failed;
        }
        fresh_login = true;
    }
    while (true) {
        CallBookReply reply;
        if (auto failed = exchange.send(
                "s=" + form_value(m_session_key) + "&callsign=" + form_value(wanted), reply)) {
            return *failed;
        }
        if (reply.record) {
            CallBookAnswer answer = CallBookAnswer::found(name_and_address(*reply.record));
            return answer;
        }
        if (!reply.key.empty()) {
            // The session goes on: the service looked and has no such call, or said why not.
            if (reply.error.empty() || reply.error.rfind("Not found", 0) == 0) {
                return say(kCallBookNotFound);
            }
            return say("The call book says", reply.error);
        }
        // No key: the session has ended (timed out, or taken over by another login).
        // One new login, then the lookup once more.
        if (fresh_login) {
            m_session_key.clear();
            return say(kCallBookLoginFailed, reply.error);
        }
        if (auto failed = log_in(exchange)) {
            return *failed;
        }
        fresh_login = true;
    }
}

OnlineLookup::~OnlineLookup() {
    if (m_worker.joinable()) {
        m_cancel = true;
        m_worker.join();
    }
}

bool OnlineLookup::start(CallBookAccount account, std::string call) {
    if (busy()) {
        return false;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_done = false;
    m_cancel = false;
    m_answer = {};
    m_worker = std::thread([this, account = std::move(account), call = std::move(call)] {
        m_answer = m_book.look_up(account, call, &m_cancel);
        m_done = true;
    });
    return true;
}

std::optional<CallBookAnswer> OnlineLookup::take_answer() {
    if (!m_worker.joinable() || !m_done.load()) {
        return std::nullopt;
    }
    m_worker.join();
    return std::move(m_answer);
}

}  // namespace vl
