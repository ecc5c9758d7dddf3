// The printer on Linux: pages drawn as PDF and handed to the CUPS default destination.
#pragma once

#include "platform/Printer.h"

namespace vl::platform {

class CupsPrinter final : public Printer {
public:
    // Nothing when CUPS has no default destination (or no scheduler answers).
    std::unique_ptr<PrintJob> start_job(std::string_view job_name,
                                        Orientation orientation) override;
};

}  // namespace vl::platform
