// The Windows default printer through GDI: each job is a document on a printer device
// context, spooled by Windows as it is drawn.
#pragma once

#include "platform/Printer.h"

namespace vl::platform {

class Win32Printer final : public Printer {
public:
    // Nothing when there is no default printer, or it refuses to start the document.
    std::unique_ptr<PrintJob> start_job(std::string_view job_name,
                                        Orientation orientation) override;
};

}  // namespace vl::platform
