// The Uploads screen (from the main menu): each service set up on a screen of its own, the
// queue said, and a batch sent now; and what the on-line screen's Control+U and timer use.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/ScreenContext.h"
#include "uploads/Uploads.h"

namespace vl {

struct UploadsContext : ScreenContext {
    UploadState& uploads;
};

// The web client and tqsl of this run, LoTW's file beside the log.
UploadTools upload_tools(const ScreenContext& ctx);

// What waits, and a batch started now: the sentence to say and whether it is a refusal
// (nothing set up, nothing waiting, a batch already running).
struct SendNowReply {
    std::string sentence;
    bool refused = false;
};
SendNowReply send_uploads_now(const ScreenContext& ctx, UploadState& state);

// For a screen's timer: the sentence of a batch that has ended. With `start_by_itself`, a
// batch is started when contacts wait for a service set up (after a failure, not before
// kUploadRetryPause has passed).
// The log records of `hold_back` wait (stations still on the on-line net).
std::optional<std::string> poll_uploads(const ScreenContext& ctx, UploadState& state,
                                        bool start_by_itself,
                                        const std::vector<int>& hold_back = {});

void show_uploads(const UploadsContext& ctx, platform::WindowId owner);

}  // namespace vl
