// The on-line call book, the fourth call-book choice: a call sign looked up on an XML
// call-book service over HTTPS. A login with the operator's user name and password gives
// a session key, kept for the run; each lookup sends the key and the call. A session the
// service has ended gets one new login and the lookup is tried again. A lookup, logins
// included, takes at most five seconds.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/Http.h"
#include "reference/CallBookAccount.h"
#include "reference/CallBookRecords.h"

namespace vl {

inline constexpr std::chrono::seconds kCallBookTimeLimit{5};

// The texts the operator hears.
inline constexpr std::string_view kCallBookNotFound = "Callsign not found";
inline constexpr std::string_view kCallBookNoAccount =
    "Type your call book user name and password in the Call Book settings first";
inline constexpr std::string_view kCallBookLoginFailed = "Call book login failed";
inline constexpr std::string_view kCallBookGarbage =
    "The call book sent an answer that could not be read";
inline constexpr std::string_view kCallBookTimedOut =
    "The call book did not answer within 5 seconds";
inline constexpr std::string_view kCallBookUnreachable = "The call book could not be reached";
inline constexpr std::string_view kCallBookNotAvailable =
    "The on-line call book is not available in this version";
inline constexpr std::string_view kCallBookPlainAddress =
    "The call book address in CALLBOOK.TXT must start with https://";

// True for an address the password may be sent to: HTTPS, or plain HTTP to this machine
// only (a local stand-in of the service), where nothing crosses the network in clear.
bool safe_callbook_address(std::string_view address);

struct XmlCallBookRecord;

// "name address" as the comment box takes it: the first and family names, then the
// street, town, state and country, empty ones left out, single blanks between them.
std::string name_and_address(const XmlCallBookRecord& record);

class OnlineCallBook {
public:
    explicit OnlineCallBook(platform::Http* http) : m_http(http) {}

    // Blocks for at most kCallBookTimeLimit; `cancel`, set from another thread, ends it
    // sooner with an empty answer.
    CallBookAnswer look_up(const CallBookAccount& account, std::string_view call,
                           const std::atomic<bool>* cancel = nullptr);

    // The session key held between lookups.
    const std::string& session_key() const { return m_session_key; }

private:
    struct Exchange;
    std::optional<CallBookAnswer> log_in(Exchange& exchange);
    platform::Http* m_http;
    std::string m_session_key;
    std::string m_session_owner;  // the user name and address the key was given for
};

// One lookup at a time, run off the UI thread so the screen stays usable while the
// service is slow: `start` returns at once and the screen's timer collects the answer.
class OnlineLookup {
public:
    explicit OnlineLookup(platform::Http* http) : m_book(http) {}
    // A lookup still running is given up; it ends within about a second.
    ~OnlineLookup();
    OnlineLookup(const OnlineLookup&) = delete;
    OnlineLookup& operator=(const OnlineLookup&) = delete;

    bool busy() const { return m_worker.joinable() && !m_done.load(); }
    // False, and nothing started, while a lookup is still running.
    bool start(CallBookAccount account, std::string call);
    // The answer of the lookup started last, once, when it has come.
    std::optional<CallBookAnswer> take_answer();

private:
    OnlineCallBook m_book;  // used by the worker alone while a lookup runs
    std::thread m_worker;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_cancel{false};
    CallBookAnswer m_answer;  // written by the worker before m_done
};

}  // namespace vl
