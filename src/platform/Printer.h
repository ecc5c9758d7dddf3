// The default printer, without a dialog: a print job of pages drawn in printer dots with
// fonts by name, size and style, text, lines and rectangles. Plain data in and out; the
// backend chooses how the pages reach paper (a recording, a PDF, the print spooler).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vl::platform {

enum class Orientation { Portrait, Landscape };

struct PrintFont {
    std::string name = "Courier New";
    int points = 10;
    bool underline = false;
    bool operator==(const PrintFont&) const = default;
};

// What a page offers: the resolution in dots per inch, the unprintable margins at the left
// and top (dots), and the printable size (dots).
struct PageGeometry {
    int dpi_x = 600;
    int dpi_y = 600;
    int offset_x = 0;
    int offset_y = 0;
    int width = 0;
    int height = 0;
};

// The measures of the selected font, in dots.
struct FontMetrics {
    int height = 0;            // ascent plus descent
    int external_leading = 0;  // space the font asks for between lines
    int average_width = 0;     // average character width
};

// One document. Drawing starts a page when none is open; end_page ejects it. Positions are
// dots from the top-left corner of the printable area; text is Windows-1252 and its
// position is the top-left corner of its cell.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual PageGeometry geometry() = 0;
    virtual void select_font(const PrintFont& font) = 0;
    virtual FontMetrics font_metrics() = 0;
    // 0xBBGGRR, as the screens give colours.
    virtual void set_text_colour(uint32_t colour) = 0;
    // Returns the width of the text in dots, so a caller can carry on after it.
    virtual int text_out(int x, int y, std::string_view text) = 0;
    virtual void line(int x1, int y1, int x2, int y2, int pen_width) = 0;
    virtual void rectangle(int left, int top, int right, int bottom, int pen_width) = 0;
    virtual void end_page() = 0;
    // Hands the document to the printer. False when it was refused.
    virtual bool end_job() = 0;
};

class Printer {
public:
    virtual ~Printer() = default;
    // Nothing when there is no default printer or it cannot be attached.
    virtual std::unique_ptr<PrintJob> start_job(std::string_view job_name,
                                                Orientation orientation) = 0;
};

}  // namespace vl::platform
