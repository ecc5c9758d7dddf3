// Print jobs drawn with cairo and Pango into PDF files. Fonts come through fontconfig: the
// metric-compatible Liberation fonts stand in for "Courier New", "Arial" and
// "Times New Roman", so columns line up as they were laid out.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Printer.h"

namespace vl::platform {

enum class PaperSize { A4, Letter };

// The family that draws a font asked for by its Windows name.
std::string pango_family(std::string_view font_name);

// A job whose pages go to a PDF file at `path`; when the job ends, `deliver` is called with
// that path (after the file is complete) and its answer is the job's. A job with no page
// draws no file and delivers nothing.
std::unique_ptr<PrintJob> make_pdf_job(std::string path, Orientation orientation, PaperSize paper,
                                       std::function<bool(const std::string&)> deliver);

// A PdfFolderPrinter, or nothing where the program was built without cairo and Pango.
std::unique_ptr<Printer> make_pdf_folder_printer(const std::string& folder);

// Writes each job as a PDF file in a folder: "Print Log-1.pdf", "Print Log-2.pdf", ...
class PdfFolderPrinter final : public Printer {
public:
    explicit PdfFolderPrinter(std::string folder) : m_folder(std::move(folder)) {}
    std::unique_ptr<PrintJob> start_job(std::string_view job_name,
                                        Orientation orientation) override;

private:
    std::string m_folder;
    int m_jobs = 0;
};

}  // namespace vl::platform
