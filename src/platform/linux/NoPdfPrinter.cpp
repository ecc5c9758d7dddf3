// Builds without cairo and Pango have no PDF output.
#include "platform/linux/PdfPrinter.h"

namespace vl::platform {

std::unique_ptr<Printer> make_pdf_folder_printer(const std::string&) {
    return nullptr;
}

}  // namespace vl::platform
