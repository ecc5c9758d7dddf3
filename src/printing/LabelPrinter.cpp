// The label printer.
#include "printing/LabelPrinter.h"

#include <algorithm>
#include <cmath>

namespace vl {

namespace {

// Rounding to the nearest dot, halves to even, as every measure of the program rounds.
int nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

constexpr std::size_t kLineBufferLimit = 255;

// The number after "#F", "#C" or "#S": every character up to ";" counts as a digit (a
// non-digit as 0); without a ";" the rest of the text is the number. At most 30.
int mark_number(std::string_view text, std::size_t& i) {
    int n = 0;
    while (i < text.size() && text[i] != ';') {
        int digit = text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : 0;
        n = std::min(n * 10 + digit, 31);
        ++i;
    }
    if (i < text.size()) {
        ++i;  // the ";"
    }
    return std::min(n, 30);
}

uint32_t mark_colour(int n) {
    switch (n) {
        case 1:
            return 0x0000FF;  // red, as 0xBBGGRR
        case 2:
            return 0xFF0000;  // blue
        case 3:
            return 0x00FF00;  // green
        case 4:
            return 0x00FFFF;  // yellow
        default:
            return 0x000000;
    }
}

int line_height(platform::PrintJob& job) {
    platform::FontMetrics metrics = job.font_metrics();
    return metrics.height + metrics.external_leading;
}

}  // namespace

int LabelGeometry::x_of(int column) const {
    return nearest(left_inches * page.dpi_x - page.offset_x + column * double(width));
}

int LabelGeometry::y_of(int row) const {
    return nearest((row * height_inches + top_inches) * page.dpi_y - page.offset_y);
}

LabelGeometry label_geometry(const LabelSettings& settings, const platform::PageGeometry& page) {
    LabelGeometry g;
    g.page = page;
    g.width = nearest(settings.label_width / 25.4 * page.dpi_x);
    g.height = nearest(settings.label_height / 25.4 * page.dpi_y);
    g.left_inches = settings.left_margin / 25.4;
    g.top_inches = settings.top_margin / 25.4;
    g.height_inches = settings.label_height / 25.4;
    return g;
}

PenPosition render_label_text(platform::PrintJob& job, std::string_view text, int left_x,
                              PenPosition at) {
    std::string buffer;
    auto print_buffer = [&] {
        if (!buffer.empty()) {
            at.x += job.text_out(at.x, at.y, buffer);
            buffer.clear();
        }
    };
    auto append = [&](std::string_view more) {
        buffer.append(more.substr(0, kLineBufferLimit - std::min(buffer.size(), kLineBufferLimit)));
    };
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i++];
        if (c != '#' || i >= text.size()) {
            append(std::string_view(&c, 1));
            continue;
        }
        char mark = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        switch (mark) {
            case 'L':
                ++i;
                print_buffer();
                at.y += line_height(job);
                at.x = left_x;
                break;
            case 'S': {
                ++i;
                append(std::string(static_cast<std::size_t>(mark_number(text, i)), ' '));
                break;
            }
            case 'F': {
                ++i;
                int points = mark_number(text, i);
                print_buffer();
                job.select_font(platform::PrintFont{"Courier New", points == 0 ? 8 : points});
                break;
            }
            case 'C': {
                ++i;
                int colour = mark_number(text, i);
                print_buffer();
                job.set_text_colour(mark_colour(colour));
                break;
            }
            default:
                append(text.substr(i - 1, 2));
                ++i;
                break;
        }
    }
    print_buffer();
    return at;
}

LabelSheet::LabelSheet(platform::PrintJob& job, const LabelSettings& settings, int row, int column)
    : m_job(job),
      m_geometry(label_geometry(settings, job.geometry())),
      // A sheet of 0 rows or columns has one, so the position always comes back to the
      // sheet's start.
      m_rows(std::max(settings.rows, 1)),
      m_columns(std::max(settings.columns, 1)),
      m_row(std::clamp(row, 0, m_rows - 1)),
      m_column(std::clamp(column, 0, m_columns - 1)) {}

bool LabelSheet::print_label(const LabelTemplate& layout, const LabelValues& values,
                             const std::function<bool()>& end_of_sheet) {
    const int x = m_geometry.x_of(m_column);
    PenPosition at{x, m_geometry.y_of(m_row)};
    at = render_label_text(m_job, fill_label_text(layout.part1, values, !layout.two_part), x, at);
    if (layout.two_part) {
        print_table(values, at);
        at = render_label_text(m_job, "#L" + fill_label_text(layout.part2, values, false), x, at);
    }

    if (++m_column < m_columns) {
        return true;
    }
    m_column = 0;
    if (++m_row < m_rows) {
        return true;
    }
    m_row = 0;
    m_job.end_page();
    return !end_of_sheet || end_of_sheet();
}

// The ruled table of the contact under part 1 of a two-part template.
void LabelSheet::print_table(const LabelValues& values, PenPosition& at) {
    const int x = m_geometry.x_of(m_column);
    at.y += line_height(m_job);
    at.x = x;
    platform::FontMetrics metrics = m_job.font_metrics();
    const double w = metrics.average_width;
    const double h = metrics.height;
    const int y = at.y;
    const int right = x + nearest(31 * w);
    const int bottom = y + nearest(3 * h);
    m_job.rectangle(x, y, right, bottom, 2);
    m_job.line(x, y + nearest(1.2 * h), right, y + nearest(1.2 * h), 2);
    for (double column : {10.5, 16.5, 21.5, 26.5}) {
        m_job.line(x + nearest(column * w), y, x + nearest(column * w), bottom, 2);
    }
    m_job.text_out(x, y, "   Date     UTC  Band Mode RST");
    at.y = y + nearest(1.5 * h);
    m_job.text_out(x, at.y,
                   " " + values['B'] + "  " + values['C'] + " " + values['F'] + " " + values['E'] +
                       "  " + values['D'].substr(0, 3));
    at.y += line_height(m_job);
}

}  // namespace vl
