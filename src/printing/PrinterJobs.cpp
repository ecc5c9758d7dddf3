// Starting and ending a print job, with "Printer Fail" when the printer cannot take it.
#include "printing/PrinterJobs.h"

namespace vl {

namespace {

void say_printer_fail(const ScreenContext& ctx, platform::WindowId owner, std::string_view title) {
    ctx.ui().message_box(owner, title, "Printer Fail", platform::MessageButtons::Ok);
}

}  // namespace

std::unique_ptr<platform::PrintJob> start_print_job(const ScreenContext& ctx,
                                                    platform::WindowId owner,
                                                    std::string_view title,
                                                    std::string_view job_name,
                                                    platform::Orientation orientation) {
    platform::Printer* printer = ctx.platform.printer;
    auto job = printer != nullptr ? printer->start_job(job_name, orientation) : nullptr;
    if (!job) {
        say_printer_fail(ctx, owner, title);
    }
    return job;
}

bool end_print_job(const ScreenContext& ctx, platform::WindowId owner, std::string_view title,
                   platform::PrintJob& job) {
    if (job.end_job()) {
        return true;
    }
    say_printer_fail(ctx, owner, title);
    return false;
}

}  // namespace vl
