// GDI printing. The document is started with the job, so a printer that refuses it is known
// before anything is drawn; pages start on their first drawing, as on the other systems.
#include "platform/win32/Printer_win32.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vl::platform {

namespace {

std::string default_printer_name() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0) {
        return {};
    }
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size)) {
        return {};
    }
    name.resize(std::strlen(name.c_str()));
    return name;
}

// The printer's own settings with the orientation asked for; empty when the driver will not
// say them, and the device then prints as it is set.
std::vector<char> device_mode(const std::string& printer_name, Orientation orientation) {
    std::vector<char> mode;
    HANDLE printer = nullptr;
    std::string name = printer_name;
    if (!OpenPrinterA(name.data(), &printer, nullptr)) {
        return mode;
    }
    LONG size = DocumentPropertiesA(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (size >= static_cast<LONG>(sizeof(DEVMODEA))) {
        mode.resize(static_cast<std::size_t>(size));
        auto* settings = reinterpret_cast<DEVMODEA*>(mode.data());
        if (DocumentPropertiesA(nullptr, printer, name.data(), settings, nullptr, DM_OUT_BUFFER) ==
            IDOK) {
            settings->dmFields |= DM_ORIENTATION;
            settings->dmOrientation = static_cast<short>(
                orientation == Orientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
            if (DocumentPropertiesA(nullptr, printer, name.data(), settings, settings,
                                    DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
                mode.clear();
            }
        } else {
            mode.clear();
        }
    }
    ClosePrinter(printer);
    return mode;
}

class GdiJob final : public PrintJob {
public:
    explicit GdiJob(HDC dc) : m_dc(dc) {
        SetMapMode(m_dc, MM_TEXT);
        SetBkMode(m_dc, TRANSPARENT);
        SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        m_pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        select_font(PrintFont{});
    }

    ~GdiJob() override {
        if (m_dc) {
            AbortDoc(m_dc);
            release();
        }
    }

    PageGeometry geometry() override {
        PageGeometry page;
        page.dpi_x = GetDeviceCaps(m_dc, LOGPIXELSX);
        page.dpi_y = GetDeviceCaps(m_dc, LOGPIXELSY);
        page.offset_x = GetDeviceCaps(m_dc, PHYSICALOFFSETX);
        page.offset_y = GetDeviceCaps(m_dc, PHYSICALOFFSETY);
        page.width = GetDeviceCaps(m_dc, HORZRES);
        page.height = GetDeviceCaps(m_dc, VERTRES);
        return page;
    }

    void select_font(const PrintFont& font) override {
        int height = -MulDiv(font.points, GetDeviceCaps(m_dc, LOGPIXELSY), 72);
        // The log and the labels are laid out in columns of characters: where the printer
        // lacks the named fixed-pitch face, another fixed-pitch one keeps them in line.
        const bool fixed = font.name == "Courier New" || font.name == "Courier";
        HFONT made =
            CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, font.underline ? TRUE : FALSE, FALSE,
                        ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        fixed ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH, font.name.c_str());
        if (made == nullptr) {
            return;  // the font in use stays
        }
        SelectObject(m_dc, made);
        if (m_font) {
            DeleteObject(m_font);
        }
        m_font = made;
    }

    FontMetrics font_metrics() override {
        TEXTMETRICA text{};
        FontMetrics metrics;
        if (GetTextMetricsA(m_dc, &text)) {
            metrics.height = text.tmHeight;
            metrics.external_leading = text.tmExternalLeading;
            metrics.average_width = text.tmAveCharWidth;
        }
        return metrics;
    }

    void set_text_colour(uint32_t colour) override { SetTextColor(m_dc, colour); }

    int text_out(int x, int y, std::string_view text) override {
        open_page();
        const int length = static_cast<int>(std::min<std::size_t>(text.size(), 32767));
        TextOutA(m_dc, x, y, text.data(), length);
        SIZE size{};
        return GetTextExtentPoint32A(m_dc, text.data(), length, &size) ? size.cx : 0;
    }

    void line(int x1, int y1, int x2, int y2, int pen_width) override {
        open_page();
        use_pen(pen_width);
        MoveToEx(m_dc, x1, y1, nullptr);
        LineTo(m_dc, x2, y2);
    }

    void rectangle(int left, int top, int right, int bottom, int pen_width) override {
        open_page();
        use_pen(pen_width);
        HGDIOBJ brush = SelectObject(m_dc, GetStockObject(NULL_BRUSH));
        Rectangle(m_dc, left, top, right, bottom);
        SelectObject(m_dc, brush);
    }

    // A page is ejected only when something was drawn on it.
    void end_page() override {
        if (m_page_open) {
            m_failed = m_failed || EndPage(m_dc) <= 0;
            m_page_open = false;
            ++m_pages;
        }
    }

    bool end_job() override {
        end_page();
        bool taken = true;
        if (m_pages == 0 || m_failed) {
            // A job with no page prints nothing, as a job that never started.
            AbortDoc(m_dc);
            taken = !m_failed;
        } else {
            taken = EndDoc(m_dc) > 0;
        }
        release();
        return taken;
    }

private:
    void open_page() {
        if (!m_page_open) {
            m_failed = m_failed || StartPage(m_dc) <= 0;
            m_page_open = true;
            // Some drivers reset the device context with each page.
            SetBkMode(m_dc, TRANSPARENT);
            SelectObject(m_dc, m_font);
            SelectObject(m_dc, m_pen);
        }
    }

    void use_pen(int pen_width) {
        const int width = std::max(pen_width, 1);
        if (width != m_pen_width) {
            HPEN made = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
            if (made == nullptr) {
                return;
            }
            SelectObject(m_dc, made);
            DeleteObject(m_pen);
            m_pen = made;
            m_pen_width = width;
        }
        SelectObject(m_dc, m_pen);
    }

    void release() {
        SelectObject(m_dc, GetStockObject(SYSTEM_FONT));
        SelectObject(m_dc, GetStockObject(BLACK_PEN));
        DeleteDC(m_dc);
        m_dc = nullptr;
        if (m_font) {
            DeleteObject(m_font);
        }
        DeleteObject(m_pen);
    }

    HDC m_dc;
    HFONT m_font = nullptr;
    HPEN m_pen = nullptr;
    int m_pen_width = 1;
    bool m_page_open = false;
    bool m_failed = false;
    int m_pages = 0;
};

}  // namespace

std::unique_ptr<PrintJob> Win32Printer::start_job(std::string_view job_name,
                                                  Orientation orientation) {
    std::string name = default_printer_name();
    if (name.empty()) {
        return nullptr;
    }
    std::vector<char> mode = device_mode(name, orientation);
    HDC dc = CreateDCA("WINSPOOL", name.c_str(), nullptr,
                       mode.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(mode.data()));
    if (dc == nullptr) {
        return nullptr;
    }
    std::string title(job_name);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    if (StartDocA(dc, &document) <= 0) {
        DeleteDC(dc);
        return nullptr;
    }
    return std::make_unique<GdiJob>(dc);
}

}  // namespace vl::platform
