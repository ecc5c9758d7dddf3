// CUPS printing. The pages of a job are drawn into a temporary PDF file; when the job ends
// the file is handed to the scheduler in one request, so the screen waits no longer than
// that hand-over.
#include "platform/linux/Printer_linux.h"

#include <cups/cups.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/PdfPrinter.h"

namespace vl::platform {

namespace {

// Letter when the destination's default media says so, otherwise A4.
PaperSize paper_of(const cups_dest_t& destination) {
    const char* media = cupsGetOption("media", destination.num_options, destination.options);
    std::string name = media ? media : "";
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name.find("letter") != std::string::npos ? PaperSize::Letter : PaperSize::A4;
}

std::string temporary_pdf_path() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varrowlog-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return "";
    }
    ::close(fd);
    return pattern;
}

}  // namespace

std::unique_ptr<PrintJob> CupsPrinter::start_job(std::string_view job_name,
                                                 Orientation orientation) {
    cups_dest_t* destination = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!destination) {
        return nullptr;
    }
    std::string queue = destination->name;
    PaperSize paper = paper_of(*destination);
    cupsFreeDests(1, destination);
    std::string path = temporary_pdf_path();
    if (path.empty()) {
        return nullptr;
    }
    std::string title(job_name);
    return make_pdf_job(path, orientation, paper, [queue, title](const std::string& pdf) {
        cups_option_t* options = nullptr;
        int count = cupsAddOption("document-format", "application/pdf", 0, &options);
        int job = cupsPrintFile(queue.c_str(), pdf.c_str(), title.c_str(), count, options);
        cupsFreeOptions(count, options);
        std::error_code ignored;
        std::filesystem::remove(pdf, ignored);
        return job > 0;
    });
}

}  // namespace vl::platform
