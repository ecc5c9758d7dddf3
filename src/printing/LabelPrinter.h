// The label printer: renders the template with its values at a position on a sheet of
// labels and moves on to the next position, ending the sheet when it is full.
#pragma once

#include <functional>
#include <string_view>

#include "platform/Printer.h"
#include "printing/LabelFiles.h"

namespace vl {

// Printer dots of the sheet's labels, from the settings in millimetres, the printer's
// resolution and its unprintable margins.
struct LabelGeometry {
    int width = 0;   // W
    int height = 0;  // H
    int x_of(int column) const;
    int y_of(int row) const;

    double left_inches = 0;
    double top_inches = 0;
    double height_inches = 0;
    platform::PageGeometry page;
};

LabelGeometry label_geometry(const LabelSettings& settings, const platform::PageGeometry& page);

// Renders marked-up label text from (x, y): "#L" line break, "#S n;" blanks, "#F n;" font
// size, "#C n;" colour. Returns the position after the text (the start of its last line's
// end).
struct PenPosition {
    int x = 0;
    int y = 0;
};
PenPosition render_label_text(platform::PrintJob& job, std::string_view text, int left_x,
                              PenPosition at);

class LabelSheet {
public:
    // Sets the sheet up at a row and column (from 0) of a job already attached.
    LabelSheet(platform::PrintJob& job, const LabelSettings& settings, int row, int column);

    // Prints one label at the current position and advances. When the sheet fills, the page
    // ends and `end_of_sheet` is asked (unless it is empty): false means stop after this
    // label. Returns false exactly then.
    bool print_label(const LabelTemplate& layout, const LabelValues& values,
                     const std::function<bool()>& end_of_sheet);

    int row() const { return m_row; }
    int column() const { return m_column; }
    bool at_sheet_start() const { return m_row == 0 && m_column == 0; }

private:
    void print_table(const LabelValues& values, PenPosition& at);

    platform::PrintJob& m_job;
    LabelGeometry m_geometry;
    int m_rows;
    int m_columns;
    int m_row;
    int m_column;
};

}  // namespace vl
