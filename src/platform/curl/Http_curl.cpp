// Web requests through libcurl: HTTP and HTTPS only, certificates checked, no redirects
// followed, the whole request bounded by its deadline and the answer by its size limit.
#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "platform/Http.h"

namespace vl::platform {

namespace {

struct Transfer {
    const HttpRequest* request = nullptr;
    std::string body;
    bool too_large = false;
};

size_t on_body(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->request->max_body) {
        transfer->too_large = true;
        return 0;  // ends the transfer with CURLE_WRITE_ERROR
    }
    transfer->body.append(data, bytes);
    return bytes;
}

// Called while the transfer waits as well as while it moves, so a cancel is seen within
// about a second even on a silent connection.
int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::atomic<bool>* cancel = transfer->request->cancel;
    return cancel != nullptr && cancel->load() ? 1 : 0;
}

class CurlHttp final : public Http {
public:
    CurlHttp() : m_ready(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    ~CurlHttp() override {
        if (m_ready) {
            curl_global_cleanup();
        }
    }

    HttpReply post(const HttpRequest& request) override {
        HttpReply reply;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              request.deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            reply.status = HttpStatus::TimedOut;
            return reply;
        }
        std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(
            m_ready ? curl_easy_init() : nullptr, &curl_easy_cleanup);
        if (!curl) {
            return reply;
        }
        Transfer transfer;
        transfer.request = &request;
        CURL* handle = curl.get();
        curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);  // safe off the main thread
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.form.c_str());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.form.size()));
        curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(left));
        curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(left));
        curl_easy_setopt(handle, CURLOPT_USERAGENT, "VarrowLog");
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, on_body);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, on_progress);
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
        curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
        // A proxy or .netrc of the environment is not asked for the password it holds.
        curl_easy_setopt(handle, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_IGNORED));

        std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr,
                                                                            &curl_slist_free_all);
        if (!request.content_type.empty()) {
            headers.reset(
                curl_slist_append(nullptr, ("Content-Type: " + request.content_type).c_str()));
            curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
        }

        const CURLcode result = curl_easy_perform(handle);
        switch (result) {
            case CURLE_OK:
                reply.status = HttpStatus::Ok;
                curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.code);
                reply.body = std::move(transfer.body);
                break;
            case CURLE_OPERATION_TIMEDOUT:
                reply.status = HttpStatus::TimedOut;
                break;
            case CURLE_ABORTED_BY_CALLBACK:
                reply.status = HttpStatus::Cancelled;
                break;
            case CURLE_WRITE_ERROR:
                reply.status = transfer.too_large ? HttpStatus::TooLarge : HttpStatus::Unreachable;
                break;
            default:
                reply.status = HttpStatus::Unreachable;
                break;
        }
        return reply;
    }

private:
    bool m_ready;
};

}  // namespace

Http* system_http() {
    static CurlHttp http;
    return &http;
}

}  // namespace vl::platform
