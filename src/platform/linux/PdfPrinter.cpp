// PDF pages with cairo and Pango. Drawing happens in printer dots of a 600-dot-per-inch
// page, scaled to PDF points.
#include "platform/linux/PdfPrinter.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <filesystem>

#include "platform/Cp1252.h"

namespace vl::platform {

namespace {

constexpr int kDotsPerInch = 600;

class PdfJob final : public PrintJob {
public:
    PdfJob(std::string path, Orientation orientation, PaperSize paper,
           std::function<bool(const std::string&)> deliver)
        : m_path(std::move(path)), m_deliver(std::move(deliver)) {
        double width_inches = paper == PaperSize::Letter ? 8.5 : 210 / 25.4;
        double height_inches = paper == PaperSize::Letter ? 11.0 : 297 / 25.4;
        if (orientation == Orientation::Landscape) {
            std::swap(width_inches, height_inches);
        }
        m_geometry.dpi_x = m_geometry.dpi_y = kDotsPerInch;
        m_geometry.width = static_cast<int>(std::lround(width_inches * kDotsPerInch));
        m_geometry.height = static_cast<int>(std::lround(height_inches * kDotsPerInch));
        m_surface = cairo_pdf_surface_create(m_path.c_str(), width_inches * 72, height_inches * 72);
        m_cairo = cairo_create(m_surface);
        cairo_scale(m_cairo, 72.0 / kDotsPerInch, 72.0 / kDotsPerInch);
        m_layout = pango_cairo_create_layout(m_cairo);
        // Metrics as designed, not as hinted for a screen, so widths match the layout.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(pango_layout_get_context(m_layout), options);
        cairo_font_options_destroy(options);
        select_font(PrintFont{});
    }

    ~PdfJob() override {
        release();
        if (!m_delivered) {
            std::error_code ignored;
            std::filesystem::remove(m_path, ignored);
        }
    }

    PageGeometry geometry() override { return m_geometry; }

    void select_font(const PrintFont& font) override {
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description, pango_family(font.name).c_str());
        pango_font_description_set_absolute_size(description,
                                                 font.points * kDotsPerInch / 72.0 * PANGO_SCALE);
        pango_layout_set_font_description(m_layout, description);
        // Measured on laid-out text, in dots: the height of a line, and the average width
        // of the letters.
        static constexpr std::string_view kLetters =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
        pango_layout_set_text(m_layout, kLetters.data(), static_cast<int>(kLetters.size()));
        int width = 0;
        int height = 0;
        pango_layout_get_size(m_layout, &width, &height);
        m_metrics.height = (height + PANGO_SCALE / 2) / PANGO_SCALE;
        m_metrics.average_width = static_cast<int>(
            std::lround(width / double(PANGO_SCALE) / static_cast<double>(kLetters.size())));
        m_metrics.external_leading = 0;
        pango_font_description_free(description);

        m_underline = font.underline;
        m_points = font.points;
    }

    FontMetrics font_metrics() override { return m_metrics; }

    void set_text_colour(uint32_t colour) override { m_colour = colour; }

    int text_out(int x, int y, std::string_view text) override {
        m_page_open = true;
        std::string utf8 = utf8_from_cp1252(text);
        pango_layout_set_text(m_layout, utf8.c_str(), static_cast<int>(utf8.size()));
        cairo_set_source_rgb(m_cairo, (m_colour & 0xFF) / 255.0, ((m_colour >> 8) & 0xFF) / 255.0,
                             ((m_colour >> 16) & 0xFF) / 255.0);
        cairo_move_to(m_cairo, x, y);
        pango_cairo_show_layout(m_cairo, m_layout);
        int width = 0;
        int height = 0;
        pango_layout_get_size(m_layout, &width, &height);
        width = (width + PANGO_SCALE / 2) / PANGO_SCALE;
        // Pango places its own underline from hinted metrics, which land far from the text
        // on a scaled page; the line is drawn here instead, a tenth of the size below the
        // baseline, as a printer font's underline sits.
        if (m_underline && width > 0) {
            double size = m_points * kDotsPerInch / 72.0;
            double below = pango_layout_get_baseline(m_layout) / double(PANGO_SCALE) + size * 0.1;
            cairo_set_line_width(m_cairo, std::max(1.0, size / 16));
            cairo_move_to(m_cairo, x, y + below);
            cairo_line_to(m_cairo, x + width, y + below);
            cairo_stroke(m_cairo);
        }
        return width;
    }

    void line(int x1, int y1, int x2, int y2, int pen_width) override {
        m_page_open = true;
        cairo_set_source_rgb(m_cairo, 0, 0, 0);
        cairo_set_line_width(m_cairo, std::max(pen_width, 1));
        cairo_move_to(m_cairo, x1, y1);
        cairo_line_to(m_cairo, x2, y2);
        cairo_stroke(m_cairo);
    }

    void rectangle(int left, int top, int right, int bottom, int pen_width) override {
        m_page_open = true;
        cairo_set_source_rgb(m_cairo, 0, 0, 0);
        cairo_set_line_width(m_cairo, std::max(pen_width, 1));
        cairo_rectangle(m_cairo, left, top, right - left, bottom - top);
        cairo_stroke(m_cairo);
    }

    // A page is ejected only when something was drawn on it, so ending a job right after a
    // full sheet gives no blank page.
    void end_page() override {
        if (m_page_open) {
            cairo_show_page(m_cairo);
            m_page_open = false;
            ++m_pages;
        }
    }

    bool end_job() override {
        end_page();
        bool written = cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
        release();
        if (m_pages == 0) {
            return written;
        }
        m_delivered = written && m_deliver(m_path);
        return m_delivered;
    }

private:
    void release() {
        if (m_layout) {
            g_object_unref(m_layout);
            m_layout = nullptr;
        }
        if (m_cairo) {
            cairo_destroy(m_cairo);
            m_cairo = nullptr;
        }
        if (m_surface) {
            cairo_surface_finish(m_surface);
            cairo_surface_destroy(m_surface);
            m_surface = nullptr;
        }
    }

    std::string m_path;
    std::function<bool(const std::string&)> m_deliver;
    PageGeometry m_geometry;
    FontMetrics m_metrics;
    uint32_t m_colour = 0;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cairo = nullptr;
    PangoLayout* m_layout = nullptr;
    bool m_underline = false;
    int m_points = 10;
    bool m_page_open = false;
    bool m_delivered = false;
    int m_pages = 0;
};

}  // namespace

std::string pango_family(std::string_view font_name) {
    if (font_name == "Courier New" || font_name == "Courier") {
        return "Liberation Mono";
    }
    if (font_name == "Arial" || font_name == "MS Sans Serif") {
        return "Liberation Sans";
    }
    if (font_name == "Times New Roman") {
        return "Liberation Serif";
    }
    return std::string(font_name);
}

std::unique_ptr<PrintJob> make_pdf_job(std::string path, Orientation orientation, PaperSize paper,
                                       std::function<bool(const std::string&)> deliver) {
    return std::make_unique<PdfJob>(std::move(path), orientation, paper, std::move(deliver));
}

std::unique_ptr<Printer> make_pdf_folder_printer(const std::string& folder) {
    return std::make_unique<PdfFolderPrinter>(folder);
}

std::unique_ptr<PrintJob> PdfFolderPrinter::start_job(std::string_view job_name,
                                                      Orientation orientation) {
    std::string path =
        m_folder + "/" + std::string(job_name) + "-" + std::to_string(++m_jobs) + ".pdf";
    // The file is written in place, so delivering it is keeping it.
    return make_pdf_job(path, orientation, PaperSize::A4, [](const std::string&) { return true; });
}

}  // namespace vl::platform
