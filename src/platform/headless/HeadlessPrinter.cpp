// The recording printer.
#include "platform/headless/HeadlessPrinter.h"

#include <cmath>
#include <cstdio>

namespace vl::headless {

namespace {

int dots(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

}  // namespace

class RecordingJob final : public platform::PrintJob {
public:
    RecordingJob(RecordingPrinter& printer, platform::PageGeometry geometry,
                 std::vector<std::unique_ptr<platform::PrintJob>> copies)
        : m_printer(printer), m_geometry(geometry), m_copies(std::move(copies)) {}

    platform::PageGeometry geometry() override { return m_geometry; }

    void select_font(const platform::PrintFont& font) override {
        m_font = font;
        record("print font " + quote(font.name) + " " + std::to_string(font.points) +
               (font.underline ? " underline" : " plain"));
        for (auto& copy : m_copies) {
            copy->select_font(font);
        }
    }

    platform::FontMetrics font_metrics() override {
        platform::FontMetrics metrics;
        metrics.height = dots(m_font.points * 1.133, m_geometry.dpi_y);
        metrics.average_width = dots(m_font.points * 0.6, m_geometry.dpi_x);
        return metrics;
    }

    void set_text_colour(uint32_t colour) override {
        char text[32];
        std::snprintf(text, sizeof text, "print colour %06X", colour & 0xFFFFFFu);
        record(text);
        for (auto& copy : m_copies) {
            copy->set_text_colour(colour);
        }
    }

    int text_out(int x, int y, std::string_view text) override {
        if (m_printer.m_journal) {
            record("print text " + std::to_string(x) + " " + std::to_string(y) + " " + quote(text));
        }
        for (auto& copy : m_copies) {
            copy->text_out(x, y, text);
        }
        return static_cast<int>(text.size()) * font_metrics().average_width;
    }

    void line(int x1, int y1, int x2, int y2, int pen_width) override {
        record("print line " + four_numbers(x1, y1, x2, y2) + " pen " + std::to_string(pen_width));
        for (auto& copy : m_copies) {
            copy->line(x1, y1, x2, y2, pen_width);
        }
    }

    void rectangle(int left, int top, int right, int bottom, int pen_width) override {
        record("print rectangle " + four_numbers(left, top, right, bottom) + " pen " +
               std::to_string(pen_width));
        for (auto& copy : m_copies) {
            copy->rectangle(left, top, right, bottom, pen_width);
        }
    }

    void end_page() override {
        ++m_printer.m_pages_ended;
        record("print page end");
        for (auto& copy : m_copies) {
            copy->end_page();
        }
    }

    bool end_job() override {
        bool copies_taken = true;
        for (auto& copy : m_copies) {
            copies_taken = copy->end_job() && copies_taken;
        }
        if (m_printer.m_refuse) {
            record("print job refused");
            return false;
        }
        ++m_printer.m_jobs_ended;
        record("print job end");
        return copies_taken;
    }

private:
    static std::string four_numbers(int a, int b, int c, int d) {
        return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " +
               std::to_string(d);
    }

    void record(std::string line) {
        if (m_printer.m_journal) {
            m_printer.m_journal->add(std::move(line));
        }
    }

    RecordingPrinter& m_printer;
    platform::PageGeometry m_geometry;
    std::vector<std::unique_ptr<platform::PrintJob>> m_copies;
    platform::PrintFont m_font;
};

RecordingPrinter::RecordingPrinter(Journal* journal, platform::PageGeometry portrait)
    : m_journal(journal), m_portrait(portrait) {
    if (m_portrait.width <= 0 || m_portrait.height <= 0) {
        // A4 less the unprintable margins on every side.
        m_portrait.width =
            static_cast<int>(std::lround(210 / 25.4 * m_portrait.dpi_x)) - 2 * m_portrait.offset_x;
        m_portrait.height =
            static_cast<int>(std::lround(297 / 25.4 * m_portrait.dpi_y)) - 2 * m_portrait.offset_y;
    }
}

std::unique_ptr<platform::PrintJob> RecordingPrinter::start_job(std::string_view job_name,
                                                                platform::Orientation orientation) {
    if (!m_available) {
        return nullptr;
    }
    platform::PageGeometry geometry = m_portrait;
    bool landscape = orientation == platform::Orientation::Landscape;
    if (landscape) {
        std::swap(geometry.width, geometry.height);
        std::swap(geometry.dpi_x, geometry.dpi_y);
        std::swap(geometry.offset_x, geometry.offset_y);
    }
    std::vector<std::unique_ptr<platform::PrintJob>> copies;
    for (platform::Printer* printer : m_copies) {
        if (auto copy = printer->start_job(job_name, orientation)) {
            copies.push_back(std::move(copy));
        }
    }
    if (m_journal) {
        m_journal->add("print job " + quote(job_name) + (landscape ? " landscape" : " portrait"));
    }
    return std::make_unique<RecordingJob>(*this, geometry, std::move(copies));
}

}  // namespace vl::headless
