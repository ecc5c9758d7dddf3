// Web requests through WinHTTP: HTTP and HTTPS only, certificates checked by the system, no
// redirects followed, the whole request bounded by its deadline and the answer by its size
// limit. The request runs on the caller's thread; a watcher closes its handle when the
// caller cancels or the deadline passes, which ends any call waiting on it.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/Http.h"

namespace vl::platform {

namespace {

using Clock = std::chrono::steady_clock;

struct HandleCloser {
    void operator()(void* handle) const {
        if (handle != nullptr) {
            WinHttpCloseHandle(handle);
        }
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::wstring wide(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        out += static_cast<wchar_t>(c);  // URLs and headers are ASCII
    }
    return out;
}

class WinHttp final : public Http {
public:
    WinHttp()
        : m_session(WinHttpOpen(L"VarrowLog", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)) {}

    HttpReply post(const HttpRequest& request) override {
        HttpReply reply;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(request.deadline - Clock::now())
                .count();
        if (left <= 0) {
            reply.status = HttpStatus::TimedOut;
            return reply;
        }
        if (!m_session) {
            return reply;
        }
        const std::wstring url = wide(request.url);
        URL_COMPONENTS parts{};
        parts.dwStructSize = sizeof parts;
        wchar_t host[256] = {};
        wchar_t path[2048] = {};
        parts.lpszHostName = host;
        parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
        parts.lpszUrlPath = path;
        parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
        wchar_t extra[2048] = {};
        parts.lpszExtraInfo = extra;
        parts.dwExtraInfoLength = static_cast<DWORD>(std::size(extra));
        if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
            (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
            return reply;
        }
        Handle connection(WinHttpConnect(m_session.get(), host, parts.nPort, 0));
        if (!connection) {
            return reply;
        }
        const std::wstring target = std::wstring(path) + extra;
        const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
        HINTERNET raw =
            WinHttpOpenRequest(connection.get(), L"POST", target.c_str(), nullptr,
                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure);
        if (raw == nullptr) {
            return reply;
        }
        const int limit = static_cast<int>(left);
        WinHttpSetTimeouts(raw, limit, limit, limit, limit);
        DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(raw, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);

        // The watcher: closing the handle from here ends a call waiting on it.
        std::atomic<bool> finished{false};
        std::atomic<bool> closed{false};
        std::atomic<bool> cancelled{false};
        std::atomic<bool> late{false};
        std::thread watcher([&] {
            while (!finished.load()) {
                const bool stop = request.cancel != nullptr && request.cancel->load();
                const bool past = Clock::now() >= request.deadline;
                if (stop || past) {
                    (stop ? cancelled : late) = true;
                    if (!closed.exchange(true)) {
                        WinHttpCloseHandle(raw);
                    }
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        const std::string content_type = request.content_type.empty()
                                             ? "application/x-www-form-urlencoded"
                                             : request.content_type;
        const std::wstring headers = wide("Content-Type: " + content_type + "\r\n");
        bool too_large = false;
        bool ok = WinHttpSendRequest(raw, headers.c_str(), static_cast<DWORD>(headers.size()),
                                     const_cast<char*>(request.form.data()),
                                     static_cast<DWORD>(request.form.size()),
                                     static_cast<DWORD>(request.form.size()), 0) &&
                  WinHttpReceiveResponse(raw, nullptr);
        DWORD code = 0;
        if (ok) {
            DWORD size = sizeof code;
            ok = WinHttpQueryHeaders(raw, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                     WINHTTP_HEADER_NAME_BY_INDEX, &code, &size,
                                     WINHTTP_NO_HEADER_INDEX);
        }
        while (ok) {
            DWORD available = 0;
            if (!WinHttpQueryDataAvailable(raw, &available)) {
                ok = false;
                break;
            }
            if (available == 0) {
                break;
            }
            if (reply.body.size() + available > request.max_body) {
                too_large = true;
                ok = false;
                break;
            }
            const std::size_t at = reply.body.size();
            reply.body.resize(at + available);
            DWORD got = 0;
            if (!WinHttpReadData(raw, reply.body.data() + at, available, &got)) {
                ok = false;
                break;
            }
            reply.body.resize(at + got);
        }
        const DWORD error = ok ? 0 : GetLastError();
        finished = true;
        watcher.join();
        if (!closed.exchange(true)) {
            WinHttpCloseHandle(raw);
        }
        if (ok) {
            reply.status = HttpStatus::Ok;
            reply.code = static_cast<long>(code);
            return reply;
        }
        reply.body.clear();
        if (too_large) {
            reply.status = HttpStatus::TooLarge;
        } else if (cancelled) {
            reply.status = HttpStatus::Cancelled;
        } else if (late || error == ERROR_WINHTTP_TIMEOUT) {
            reply.status = HttpStatus::TimedOut;
        } else {
            reply.status = HttpStatus::Unreachable;
        }
        return reply;
    }

private:
    Handle m_session;
};

}  // namespace

Http* system_http() {
    static WinHttp http;
    return &http;
}

}  // namespace vl::platform
