// Starting and ending a job on the default printer, with the one message every printing
// screen gives when the printer is missing or refuses the job.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Printer.h"
#include "shell/ScreenContext.h"

namespace vl {

// The job, or nothing after "Printer Fail" titled `title`.
std::unique_ptr<platform::PrintJob> start_print_job(const ScreenContext& ctx,
                                                    platform::WindowId owner,
                                                    std::string_view title,
                                                    std::string_view job_name,
                                                    platform::Orientation orientation);

// Hands the job to the printer; "Printer Fail" titled `title` when it is refused.
bool end_print_job(const ScreenContext& ctx, platform::WindowId owner, std::string_view title,
                   platform::PrintJob& job);

}  // namespace vl
