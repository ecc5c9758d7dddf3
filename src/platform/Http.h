// Web requests for the on-line call book and the log uploads: one POST of a form (or of a
// body of another type), with a deadline, a limit on the size of the answer and a way to
// give up early. No request ever outlives its deadline.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace vl::platform {

enum class HttpStatus {
    Ok,           // the server answered; `code` and `body` hold its answer
    Unreachable,  // no connection: unknown host, refused, certificate not trusted
    TimedOut,     // the deadline passed before the whole answer arrived
    TooLarge,     // the answer grew past the size limit
    Cancelled,    // given up at the caller's request
};

struct HttpReply {
    HttpStatus status = HttpStatus::Unreachable;
    long code = 0;  // the HTTP status code when status is Ok
    std::string body;
};

struct HttpRequest {
    std::string url;
    std::string form;  // "name=value&..." already encoded; sent as the POST body
    // The body's type when it is not a form ("multipart/form-data; boundary=...").
    std::string content_type;
    std::chrono::steady_clock::time_point deadline;
    std::size_t max_body = 64 * 1024;
    // Set by another thread to give up; checked while the request waits.
    const std::atomic<bool>* cancel = nullptr;
};

// Safe to call from any thread, one request at a time per thread.
class Http {
public:
    virtual ~Http() = default;
    virtual HttpReply post(const HttpRequest& request) = 0;
};

// A form value: the text (Windows-1252) as UTF-8, every byte but the unreserved ones as %XX.
std::string form_value(std::string_view cp1252);

// The system's web client, or nothing where the program is built without one.
Http* system_http();

}  // namespace vl::platform
