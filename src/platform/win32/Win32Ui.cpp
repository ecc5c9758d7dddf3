// The Win32 backend. Each screen is a window of the dialog class made from an empty
// in-memory template, holding standard STATIC, EDIT, LISTBOX, COMBOBOX and BUTTON controls
// in creation order, so the dialog manager gives Tab order and "&" letters, and a screen
// reader names each box by the label created right before it. The key table becomes an
// accelerator table, checked before the dialog manager. Text is Windows-1252 throughout:
// only the ANSI functions are used.
#include "platform/win32/Win32Ui.h"

#include <windows.h>

#include "platform/DialogRules.h"
#include "platform/win32/Win32Speech.h"

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vl::win32 {

namespace {

using platform::ControlKind;
using platform::EditStyle;
using platform::is_spoken_text;
using platform::WindowId;
using platform::without_ampersand;

constexpr UINT kPostedCommand = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
constexpr double kWidestWindow = 400.0;  // Browse Log's window with its frame, layout units

// The display's dots per inch over the 96 the screens were drawn for (the manifest declares
// the program DPI aware, so this is what the operator set, not 96).
double dpi_scale() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 96 ? dpi / 96.0 : 1.0;
}

struct Control {
    platform::ControlSpec shape;
    HWND hwnd = nullptr;
    HBRUSH brush = nullptr;
    std::vector<std::string> items;
    bool focusable_label = false;  // a label shown as read-only text that takes the focus
    int label_id = 0;              // the label right before a box, which names it
};

// A text to say once the screen has finished with the event that changed it.
struct PendingSpeech {
    HWND window = nullptr;
    int control_id = 0;
    std::string text;
};

class Win32Ui;

struct Window {
    Win32Ui* ui = nullptr;
    WindowId id = 0;
    platform::WindowSpec shape;
    platform::WindowEvents* events = nullptr;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    HACCEL keys = nullptr;
    std::vector<std::unique_ptr<Control>> controls;
    int focus = 0;
    bool closed = false;
    int result = 0;
};

// The virtual key of each named key of the key tables.
UINT virtual_key(int key) {
    static const std::map<int, UINT> kKeys = {
        {platform::kKeyF1, VK_F1},         {platform::kKeyF2, VK_F2},
        {platform::kKeyF3, VK_F3},         {platform::kKeyF4, VK_F4},
        {platform::kKeyF5, VK_F5},         {platform::kKeyF6, VK_F6},
        {platform::kKeyF7, VK_F7},         {platform::kKeyF8, VK_F8},
        {platform::kKeyF9, VK_F9},         {platform::kKeyF10, VK_F10},
        {platform::kKeyF11, VK_F11},       {platform::kKeyF12, VK_F12},
        {platform::kKeyF24, VK_F24},       {platform::kKeyUp, VK_UP},
        {platform::kKeyDown, VK_DOWN},     {platform::kKeyLeft, VK_LEFT},
        {platform::kKeyRight, VK_RIGHT},   {platform::kKeyPageUp, VK_PRIOR},
        {platform::kKeyPageDown, VK_NEXT}, {platform::kKeyHome, VK_HOME},
        {platform::kKeyEnd, VK_END},       {platform::kKeyInsert, VK_INSERT},
        {platform::kKeyDelete, VK_DELETE}, {platform::kKeyBackspace, VK_BACK},
        {platform::kKeyTab, VK_TAB},       {platform::kKeyEnter, VK_RETURN},
        {platform::kKeyEscape, VK_ESCAPE}, {platform::kKeySpace, VK_SPACE},
    };
    if (auto found = kKeys.find(key); found != kKeys.end()) {
        return found->second;
    }
    // Letters and digits are their own virtual keys.
    return key > 0 && key < 256 ? static_cast<UINT>(key) : 0;
}

HACCEL make_accelerators(const platform::KeyTable& table) {
    std::vector<ACCEL> rows;
    for (const auto& binding : table) {
        UINT key = virtual_key(binding.chord.key);
        if (key == 0 || binding.command < 0 || binding.command > 0xFFFF) {
            continue;
        }
        ACCEL row{};
        row.fVirt = FVIRTKEY;
        row.fVirt |= binding.chord.ctrl ? FCONTROL : 0;
        row.fVirt |= binding.chord.shift ? FSHIFT : 0;
        row.fVirt |= binding.chord.alt ? FALT : 0;
        row.key = static_cast<WORD>(key);
        row.cmd = static_cast<WORD>(binding.command);
        rows.push_back(row);
    }
    return rows.empty() ? nullptr
                        : CreateAcceleratorTableA(rows.data(), static_cast<int>(rows.size()));
}

// The screens name a bold face as "Times New Roman Bold": the face and its weight.
std::pair<std::string, int> font_face(const std::string& name) {
    constexpr std::string_view kBold = " bold";
    if (name.size() > kBold.size() &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str() + name.size() - kBold.size(),
                       static_cast<int>(kBold.size()), kBold.data(),
                       static_cast<int>(kBold.size())) == CSTR_EQUAL) {
        return {name.substr(0, name.size() - kBold.size()), FW_BOLD};
    }
    return {name, FW_NORMAL};
}

// A multi-line box shows "\r\n" line ends; the screens give and take "\n".
std::string with_crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string without_cr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string window_text(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

class Win32Ui final : public platform::Ui {
public:
    explicit Win32Ui(HINSTANCE instance) : m_instance(instance) {
        // Text grows with the dots per inch the operator chose; the layout grows with it as
        // far as the widest window still fits the screen, and fit_to_contents gives each
        // label and box the rest of the room its text needs.
        const double width_scale = screen_width() / 640.0;
        m_dpi_scale = dpi_scale();
        m_text_scale = width_scale * m_dpi_scale;
        m_scale = std::max(width_scale, std::min(m_text_scale, screen_width() / kWidestWindow));
    }

    ~Win32Ui() override {
        while (!m_windows.empty()) {
            destroy(m_windows.begin()->first);
        }
    }

    int screen_width() override {
        RECT area;
        if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) && area.right > area.left) {
            return area.right - area.left;
        }
        int width = GetSystemMetrics(SM_CXSCREEN);
        return width > 0 ? width : 1280;
    }

    WindowId create_window(const platform::WindowSpec& shape,
                           platform::WindowEvents& events) override {
        auto window = std::make_unique<Window>();
        Window& w = *window;
        w.ui = this;
        w.id = m_next_id++;
        w.shape = shape;
        w.events = &events;
        Window* owner = find(shape.owner);
        // An empty dialog template: the controls are added one by one as the screen asks.
        struct alignas(4) Template {
            DLGTEMPLATE head;
            WORD menu, window_class, title;
        } empty{};
        empty.head.style =
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_3DLOOK;
        empty.head.dwExtendedStyle = WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW);
        w.hwnd = CreateDialogIndirectParamA(m_instance, &empty.head, owner ? owner->hwnd : nullptr,
                                            dialog_procedure, reinterpret_cast<LPARAM>(&w));
        if (w.hwnd == nullptr) {
            throw std::runtime_error("the window could not be made");
        }
        SetWindowTextA(w.hwnd, shape.caption.c_str());
        // The program's icon in the task bar and Alt+Tab (the test programs carry none).
        if (HICON icon = LoadIconA(m_instance, MAKEINTRESOURCEA(1))) {
            SendMessageA(w.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        }
        RECT frame{0, 0, scaled(shape, shape.width), scaled(shape, shape.height)};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_EXSTYLE)));
        SetWindowPos(w.hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // The size is the character height in layout units, scaled by the screen width / 640,
        // as the screens were laid out, and by the dots per inch.
        int pixels = text_pixels(shape, shape.font_points);
        auto [face, weight] = font_face(shape.font);
        w.font = CreateFontA(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, face.c_str());
        SendMessageA(w.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.font), FALSE);
        if (shape.background) {
            w.brush = CreateSolidBrush(*shape.background);
        }
        WindowId id = w.id;
        m_windows[id] = std::move(window);
        return id;
    }

    void add_control(WindowId id, const platform::ControlSpec& shape) override {
        Window& w = *m_windows.at(id);
        auto control = std::make_unique<Control>();
        control->shape = shape;
        const char* window_class = "STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD extended = 0;
        switch (shape.kind) {
            case ControlKind::Label:
                window_class = "STATIC";
                style |= SS_LEFT;
                break;
            case ControlKind::Edit:
                window_class = "EDIT";
                extended = WS_EX_CLIENTEDGE;
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                if (shape.style == EditStyle::UpperCase) {
                    style |= ES_UPPERCASE;
                } else if (shape.style == EditStyle::ReadOnly) {
                    style |= ES_READONLY;
                } else if (shape.style == EditStyle::ReadOnlyMultiLine) {
                    style = (style & ~static_cast<DWORD>(ES_AUTOHSCROLL)) | ES_READONLY |
                            ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
                } else if (shape.style == EditStyle::Password) {
                    style |= ES_PASSWORD;
                } else if (shape.style == EditStyle::MultiLine) {
                    style = (style & ~static_cast<DWORD>(ES_AUTOHSCROLL)) | ES_MULTILINE |
                            ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
                }
                break;
            case ControlKind::List:
                window_class = "LISTBOX";
                extended = WS_EX_CLIENTEDGE;
                style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
                break;
            case ControlKind::DropDown:
                window_class = "COMBOBOX";
                style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
                break;
            case ControlKind::Button:
                window_class = "BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
                break;
        }
        int height = scaled(w.shape, shape.height);
        if (shape.kind == ControlKind::DropDown) {
            height *= 8;  // the height of a combo box includes its open list
        }
        std::string text = shape.kind == ControlKind::Edit ? with_crlf(shape.text) : shape.text;
        Quiet quiet(*this);
        if (shape.kind != ControlKind::Label) {
            control->label_id = platform::naming_label(
                w.controls.empty() ? nullptr : &w.controls.back()->shape, shape);
            if (control->label_id == 0) {
                // A screen reader names a box after the nearest label made before it, however
                // far: a box with no label of its own gets an empty one, as it has no name.
                CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                w.hwnd, nullptr, m_instance, nullptr);
            }
        }
        control->hwnd = CreateWindowExA(
            extended, window_class, text.c_str(), style, scaled(w.shape, shape.x),
            scaled(w.shape, shape.y), scaled(w.shape, shape.width), height, w.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(shape.id)), m_instance, nullptr);
        SendMessageA(control->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.font), FALSE);
        if (shape.kind == ControlKind::Edit && shape.max_length > 0) {
            SendMessageA(control->hwnd, EM_LIMITTEXT, static_cast<WPARAM>(shape.max_length), 0);
        }
        if (shape.background) {
            control->brush = CreateSolidBrush(*shape.background);
        }
        w.controls.push_back(std::move(control));
    }

    void remove_control(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        for (auto it = w.controls.begin(); it != w.controls.end(); ++it) {
            if ((*it)->shape.id == control_id) {
                DestroyWindow((*it)->hwnd);
                if ((*it)->brush != nullptr) {
                    DeleteObject((*it)->brush);
                }
                w.controls.erase(it);
                break;
            }
        }
        if (w.focus == control_id) {
            w.focus = 0;
        }
    }

    void set_key_table(WindowId id, platform::KeyTable table) override {
        Window& w = *m_windows.at(id);
        if (w.keys != nullptr) {
            DestroyAcceleratorTable(w.keys);
        }
        w.keys = make_accelerators(table);
    }

    int run_modal(WindowId id) override {
        say_pending();
        Window& w = *m_windows.at(id);
        Window* owner = find(w.shape.owner);
        if (owner != nullptr) {
            EnableWindow(owner->hwnd, FALSE);
        }
        make_labels_readable_when_nothing_takes_focus(w);
        fit_to_contents(w);
        centre(w.hwnd, owner ? owner->hwnd : nullptr);
        ShowWindow(w.hwnd, SW_SHOW);
        SetForegroundWindow(w.hwnd);
        if (Control* c = find_control(w, w.focus)) {
            SetFocus(c->hwnd);
        } else if (HWND first = GetNextDlgTabItem(w.hwnd, nullptr, FALSE)) {
            SetFocus(first);
        }
        MSG msg;
        while (!w.closed) {
            BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                w.result = platform::kCmdCancel;
                break;
            }
            if (got < 0) {
                break;
            }
            bool ours = msg.hwnd == w.hwnd || IsChild(w.hwnd, msg.hwnd);
            if (!(ours && w.keys != nullptr && TranslateAcceleratorA(w.hwnd, w.keys, &msg)) &&
                !(ours && IsDialogMessageA(w.hwnd, &msg))) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            say_pending();
            m_read_with_window = nullptr;
        }
        int result = w.result;
        if (owner != nullptr) {
            EnableWindow(owner->hwnd, TRUE);
        }
        destroy(id);
        return result;
    }

    void close_window(WindowId id, int result) override {
        say_pending();
        Window& w = *m_windows.at(id);
        w.closed = true;
        w.result = result;
        stop_timer(id);
        PostMessageA(w.hwnd, WM_NULL, 0, 0);  // wakes the modal loop
    }

    void set_caption(WindowId id, std::string_view caption) override {
        Window& w = *m_windows.at(id);
        w.shape.caption = caption;
        SetWindowTextA(w.hwnd, w.shape.caption.c_str());
    }

    void set_text(WindowId id, int control_id, std::string_view text) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr || c->shape.kind == ControlKind::List ||
            c->shape.kind == ControlKind::DropDown) {
            return;
        }
        if (without_cr(window_text(c->hwnd)) == text) {
            return;
        }
        Quiet quiet(*this);
        std::string shown =
            c->shape.kind == ControlKind::Edit ? with_crlf(text) : std::string(text);
        SetWindowTextA(c->hwnd, shown.c_str());
        if (IsWindowVisible(w.hwnd)) {
            fit_box_to_text(w, *c);
        }
        const bool focused = GetFocus() == c->hwnd;
        if (c->focusable_label && focused) {
            // The line has changed under the focus: the reader is told the focus is here
            // again, and speaks the new text.
            NotifyWinEvent(EVENT_OBJECT_FOCUS, c->hwnd, OBJID_CLIENT, CHILDID_SELF);
        } else if (!IsWindowVisible(w.hwnd) || (focused && c->hwnd == m_read_with_window)) {
            // Read with its window when that shows or becomes active again.
        } else if (focused) {
            // A reader does not speak a new value of the focused edit box (it would echo
            // typing), so the text the program put there is said, and the value event keeps
            // the reader's copy of the box, and braille, up to date.
            NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, c->hwnd, OBJID_CLIENT, CHILDID_SELF);
            if (c->shape.kind == ControlKind::Edit && c->shape.style != EditStyle::Password) {
                say_later(w, c->shape.id, text);
            }
        } else if (is_spoken_text(c->shape) && !c->shape.quiet) {
            say_later(w, c->shape.id, text);
        }
        if (c->shape.kind == ControlKind::Edit &&
            (GetWindowLongPtrA(c->hwnd, GWL_STYLE) & ES_READONLY) == 0) {
            // A box the operator types in keeps the caret at the end.
            int end = GetWindowTextLengthA(c->hwnd);
            SendMessageA(c->hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
        }
    }

    std::string text(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr) {
            return {};
        }
        switch (c->shape.kind) {
            case ControlKind::Label:
            case ControlKind::Button:
                return window_text(c->hwnd);
            case ControlKind::Edit:
                return without_cr(window_text(c->hwnd));
            case ControlKind::List:
            case ControlKind::DropDown: {
                int index = selected_item(id, control_id);
                return index >= 0 ? c->items[static_cast<std::size_t>(index)] : std::string();
            }
        }
        return {};
    }

    void set_items(WindowId id, int control_id, const std::vector<std::string>& items) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr) {
            return;
        }
        Quiet quiet(*this);
        c->items = items;
        bool list = c->shape.kind == ControlKind::List;
        if (!list && c->shape.kind != ControlKind::DropDown) {
            return;
        }
        SendMessageA(c->hwnd, WM_SETREDRAW, FALSE, 0);
        SendMessageA(c->hwnd, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items) {
            SendMessageA(c->hwnd, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(item.c_str()));
        }
        SendMessageA(c->hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(c->hwnd, nullptr, TRUE);
    }

    int item_count(WindowId id, int control_id) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        return c ? static_cast<int>(c->items.size()) : 0;
    }

    void select_item(WindowId id, int control_id, int index) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr || index < -1 || index >= static_cast<int>(c->items.size())) {
            return;
        }
        Quiet quiet(*this);
        if (c->shape.kind == ControlKind::List) {
            SendMessageA(c->hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        } else if (c->shape.kind == ControlKind::DropDown) {
            SendMessageA(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }

    int selected_item(WindowId id, int control_id) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr) {
            return -1;
        }
        LRESULT index = -1;
        if (c->shape.kind == ControlKind::List) {
            index = SendMessageA(c->hwnd, LB_GETCURSEL, 0, 0);
        } else if (c->shape.kind == ControlKind::DropDown) {
            index = SendMessageA(c->hwnd, CB_GETCURSEL, 0, 0);
        }
        return index < 0 || index >= static_cast<LRESULT>(c->items.size())
                   ? -1
                   : static_cast<int>(index);
    }

    void set_focus(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr || c->shape.kind == ControlKind::Label) {
            return;
        }
        bool moving = w.focus != control_id;
        w.focus = control_id;
        if (IsWindowVisible(w.hwnd)) {
            if (moving) {
                say_pending_before_focus(w, *c);
            }
            // WM_NEXTDLGCTL moves the focus as the dialog manager does: the default button
            // follows, and an edit box has its text selected.
            Quiet quiet(*this);
            SendMessageA(w.hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c->hwnd), TRUE);
        }
    }

    int focused_control(WindowId id) override { return m_windows.at(id)->focus; }

    void focus_next(WindowId id, bool backwards) override {
        Window& w = *m_windows.at(id);
        Control* current = find_control(w, w.focus);
        HWND next = GetNextDlgTabItem(w.hwnd, current ? current->hwnd : nullptr, backwards);
        if (next == nullptr) {
            return;
        }
        int control_id = GetDlgCtrlID(next);
        w.focus = control_id;
        if (IsWindowVisible(w.hwnd)) {
            if (Control* c = find_control(w, control_id)) {
                say_pending_before_focus(w, *c);
            }
            SendMessageA(w.hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
    }

    platform::Answer message_box(WindowId owner, std::string_view title, std::string_view text,
                                 platform::MessageButtons buttons) override {
        Window* parent = find(owner != platform::kNoWindow ? owner : top());
        UINT style = MB_TASKMODAL | MB_SETFOREGROUND;
        style |= buttons == platform::MessageButtons::Ok ? MB_OK : MB_YESNO;
        // Enter answers with the default button; No is the second.
        if (platform::answer_to_enter(buttons) == platform::Answer::No) {
            style |= MB_DEFBUTTON2;
        }
        say_pending();
        std::string title_text(title);
        std::string body(text);
        int answer =
            MessageBoxA(parent ? parent->hwnd : nullptr, body.c_str(), title_text.c_str(), style);
        // The window under the box is read again as it becomes active, its box with the text
        // the answer leaves in it: that text is not said on its own as well.
        m_read_with_window = GetFocus();
        if (buttons == platform::MessageButtons::Ok) {
            return platform::Answer::Ok;
        }
        return answer == IDYES ? platform::Answer::Yes : platform::Answer::No;
    }

    void start_timer(WindowId id, int milliseconds) override {
        Window& w = *m_windows.at(id);
        SetTimer(w.hwnd, kTimerId, static_cast<UINT>(std::max(USER_TIMER_MINIMUM, milliseconds)),
                 nullptr);
    }

    void stop_timer(WindowId id) override { KillTimer(m_windows.at(id)->hwnd, kTimerId); }

    void post_command(WindowId id, int command) override {
        PostMessageA(m_windows.at(id)->hwnd, kPostedCommand, static_cast<WPARAM>(command), 0);
    }

private:
    // Changes the program makes raise the controls' notifications too; the screens hear
    // only the operator's own.
    struct Quiet {
        explicit Quiet(Win32Ui& ui) : m_ui(ui) { ++m_ui.m_quiet; }
        ~Quiet() { --m_ui.m_quiet; }
        Win32Ui& m_ui;
    };

    // A text changed twice in one event is said as it ends up.
    void say_later(Window& w, int control_id, std::string_view text) {
        std::erase_if(m_pending, [&](const PendingSpeech& p) {
            return p.window == w.hwnd && p.control_id == control_id;
        });
        if (!text.empty()) {
            m_pending.push_back({w.hwnd, control_id, std::string(text)});
        }
    }

    void say_pending() {
        std::vector<PendingSpeech> pending;
        pending.swap(m_pending);
        for (const PendingSpeech& p : pending) {
            m_announcer.say(p.window, p.text);
        }
    }

    // The focus moving to a box says its label with it: the label's new text is not said
    // before it as well.
    void say_pending_before_focus(Window& w, const Control& box) {
        std::erase_if(m_pending, [&](const PendingSpeech& p) {
            return p.window == w.hwnd && box.label_id != 0 && p.control_id == box.label_id;
        });
        say_pending();
    }

    // A window laid out in pixels at 96 dots per inch grows with the dots per inch alone.
    int scaled(const platform::WindowSpec& shape, int units) const {
        return static_cast<int>(units * (shape.scaled ? m_scale : m_dpi_scale));
    }

    // A window laid out in pixels takes its font size in points, as the desktop's own text.
    int text_pixels(const platform::WindowSpec& shape, int units) const {
        return static_cast<int>(units * (shape.scaled ? m_text_scale : m_dpi_scale * 96 / 72));
    }

    Window* find(WindowId id) {
        auto found = m_windows.find(id);
        return found == m_windows.end() ? nullptr : found->second.get();
    }

    WindowId top() const {
        return m_windows.empty() ? platform::kNoWindow : m_windows.rbegin()->first;
    }

    static Control* find_control(Window& w, int id) {
        for (auto& c : w.controls) {
            if (c->shape.id == id) {
                return c.get();
            }
        }
        return nullptr;
    }

    static Control* control_of(Window& w, HWND hwnd) {
        for (auto& c : w.controls) {
            if (c->hwnd == hwnd) {
                return c.get();
            }
        }
        return nullptr;
    }

    // A window of labels only (the Key help box) gets its first label as borderless
    // read-only text that takes the focus, so the reader speaks it and each new line.
    void make_labels_readable_when_nothing_takes_focus(Window& w) {
        Control* first_label = nullptr;
        for (auto& c : w.controls) {
            if (c->shape.kind != ControlKind::Label) {
                return;
            }
            if (first_label == nullptr) {
                first_label = c.get();
            }
        }
        if (first_label == nullptr || first_label->focusable_label) {
            return;
        }
        RECT place;
        GetWindowRect(first_label->hwnd, &place);
        MapWindowPoints(nullptr, w.hwnd, reinterpret_cast<POINT*>(&place), 2);
        std::string text = window_text(first_label->hwnd);
        HWND reading = CreateWindowExA(
            0, "EDIT", text.c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, place.left,
            place.top, place.right - place.left, place.bottom - place.top, w.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_label->shape.id)), m_instance,
            nullptr);
        if (reading == nullptr) {
            return;
        }
        SetWindowPos(reading, first_label->hwnd, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DestroyWindow(first_label->hwnd);
        first_label->hwnd = reading;
        first_label->focusable_label = true;
        SendMessageA(reading, WM_SETFONT, reinterpret_cast<WPARAM>(w.font), FALSE);
    }

    // The screens were laid out for one font at one size: with the font this screen really
    // has, a label or box may need more room than its place gives, and a list more lines.
    // Each grows to its text (a box to its longest text), what stands to its right on its
    // row moves along, and the window grows to hold everything, up to the work area.
    void fit_to_contents(Window& w) {
        constexpr int kMargin = 8;
        HDC dc = GetDC(w.hwnd);
        HGDIOBJ old_font = SelectObject(dc, w.font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        auto text_width = [&](const std::string& text) {
            SIZE size{};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            return static_cast<int>(size.cx);
        };
        // Call signs, dates and times are capitals and digits, wider than the font's average.
        const int letter =
            std::max({static_cast<int>(metrics.tmAveCharWidth), text_width("X"), text_width("0")});
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_EXSTYLE)));
        const int frame_width = frame.right - frame.left;
        const int frame_height = frame.bottom - frame.top;
        const int most_width = area.right - area.left - frame_width;
        const int most_height = area.bottom - area.top - frame_height;

        for (auto& c : w.controls) {
            RECT place = placement(w, c->hwnd);
            int width = place.right - place.left;
            int height = place.bottom - place.top;
            int wanted_width = width;
            int wanted_height = height;
            switch (c->shape.kind) {
                case ControlKind::Label:
                    wanted_width = text_width(without_ampersand(window_text(c->hwnd))) + 2;
                    // A line of text whole, its descenders too (a hidden label stays so).
                    if (height > 0) {
                        wanted_height = std::max(height, static_cast<int>(metrics.tmHeight));
                    }
                    break;
                case ControlKind::Edit:
                    if (c->shape.style == EditStyle::MultiLine ||
                        c->shape.style == EditStyle::ReadOnlyMultiLine) {
                        break;
                    }
                    // Room for the longest text the box takes, or the text it shows, for
                    // its edge, and a letter more for the caret at the end.
                    wanted_width =
                        2 * GetSystemMetrics(SM_CXEDGE) + 6 + letter +
                        std::max(c->shape.max_length * letter, text_width(window_text(c->hwnd)));
                    wanted_height = std::max(height, static_cast<int>(metrics.tmHeight) + 6);
                    break;
                case ControlKind::List: {
                    int line = static_cast<int>(SendMessageA(c->hwnd, LB_GETITEMHEIGHT, 0, 0));
                    int lines = std::max<int>(1, static_cast<int>(c->items.size()));
                    wanted_height =
                        std::max(height, lines * line + 2 * GetSystemMetrics(SM_CYEDGE));
                    for (const std::string& item : c->items) {
                        wanted_width = std::max(
                            wanted_width, text_width(item) + GetSystemMetrics(SM_CXVSCROLL) + 8);
                    }
                    break;
                }
                case ControlKind::DropDown:
                    for (const std::string& item : c->items) {
                        wanted_width = std::max(
                            wanted_width, text_width(item) + GetSystemMetrics(SM_CXVSCROLL) + 12);
                    }
                    break;
                case ControlKind::Button:
                    wanted_width =
                        std::max(width, text_width(without_ampersand(window_text(c->hwnd))) + 16);
                    break;
            }
            // What stands below it keeps its room on the screen (the main menu's announcement
            // line under its list).
            int below = 0;
            for (auto& other : w.controls) {
                RECT at = placement(w, other->hwnd);
                if (other.get() != c.get() && at.top >= place.bottom && at.bottom > at.top) {
                    below = std::max(below, static_cast<int>(at.bottom - place.bottom));
                }
            }
            wanted_width = std::min(std::max(width, wanted_width), most_width - 2 * kMargin);
            wanted_height = std::min(wanted_height,
                                     most_height - static_cast<int>(place.top) - kMargin - below);
            if (wanted_width <= width && wanted_height <= height) {
                continue;
            }
            const int grown = std::max(0, wanted_width - width);
            SetWindowPos(c->hwnd, nullptr, 0, 0, std::max(width, wanted_width),
                         std::max(height, wanted_height),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            // The rows below move down as far as the taller control now reaches into them,
            // once for a row whose controls all grew.
            const int bottom = static_cast<int>(place.top) + std::max(height, wanted_height);
            int next_row = INT_MAX;
            for (auto& other : w.controls) {
                RECT at = placement(w, other->hwnd);
                if (other.get() != c.get() && at.top >= place.bottom && at.bottom > at.top) {
                    next_row = std::min(next_row, static_cast<int>(at.top));
                }
            }
            const int lower = next_row == INT_MAX ? 0 : std::max(0, bottom + 2 - next_row);
            for (auto& other : w.controls) {
                if (other.get() == c.get()) {
                    continue;
                }
                RECT at = placement(w, other->hwnd);
                bool same_row = at.top < place.bottom && at.bottom > place.top;
                int dx = same_row && at.left >= place.right ? grown : 0;
                int dy = !same_row && at.top >= place.bottom ? lower : 0;
                if (dx != 0 || dy != 0) {
                    SetWindowPos(other->hwnd, nullptr, at.left + dx, at.top + dy, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            }
        }

        for (std::size_t pass = 0; pass < w.controls.size() && wrap_one_row(w, most_width);
             ++pass) {
        }

        // The window holds what it shows, with a margin below the last line, on the screen.
        RECT client{};
        GetClientRect(w.hwnd, &client);
        int right = client.right;
        int bottom = client.bottom;
        for (auto& c : w.controls) {
            RECT at = placement(w, c->hwnd);
            right = std::max(right, static_cast<int>(at.right) + kMargin);
            bottom = std::max(bottom, static_cast<int>(at.bottom) + kMargin);
        }
        // The caption too is read whole by a partially sighted operator: the title bar holds
        // it in the system's caption font, beside the icon and the buttons.
        NONCLIENTMETRICSA nonclient{};
        nonclient.cbSize = sizeof nonclient;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof nonclient, &nonclient, 0)) {
            HFONT caption_font = CreateFontIndirectA(&nonclient.lfCaptionFont);
            SelectObject(dc, caption_font);
            int caption = text_width(w.shape.caption) + 5 * GetSystemMetrics(SM_CXSIZE);
            SelectObject(dc, w.font);
            DeleteObject(caption_font);
            right = std::max(right, caption - frame_width);
        }
        right = std::min(right, most_width);
        bottom = std::min(bottom, most_height);
        for (auto& c : w.controls) {
            RECT at = placement(w, c->hwnd);
            if (at.right > right - kMargin / 2 && c->shape.kind != ControlKind::Label) {
                SetWindowPos(c->hwnd, nullptr, 0, 0,
                             std::max(1, right - kMargin / 2 - static_cast<int>(at.left)),
                             at.bottom - at.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        SetWindowPos(w.hwnd, nullptr, 0, 0, right + frame_width, bottom + frame_height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SelectObject(dc, old_font);
        ReleaseDC(w.hwnd, dc);
    }

    // A row wider than the screen lets the window be is broken before the first label or box
    // that passes the edge (a box's own label goes with it): the rest of the row moves to a
    // line of its own below, at the left edge, and the rows below move down.
    bool wrap_one_row(Window& w, int most_width) {
        constexpr int kMargin = 8;
        for (std::size_t i = 0; i < w.controls.size(); ++i) {
            Control& c = *w.controls[i];
            RECT place = placement(w, c.hwnd);
            if (place.right <= most_width - kMargin / 2 || place.left <= kMargin ||
                place.bottom <= place.top) {
                continue;
            }
            HWND first = c.hwnd;
            if (i > 0 && c.label_id != 0 && w.controls[i - 1]->shape.id == c.label_id) {
                RECT label = placement(w, w.controls[i - 1]->hwnd);
                if (label.top < place.bottom && label.bottom > place.top && label.left > kMargin &&
                    label.left < place.left) {
                    first = w.controls[i - 1]->hwnd;
                }
            }
            const RECT from = placement(w, first);
            int row_top = place.top;
            int row_bottom = place.bottom;
            for (auto& other : w.controls) {
                RECT at = placement(w, other->hwnd);
                if (at.top < place.bottom && at.bottom > place.top) {
                    row_top = std::min(row_top, static_cast<int>(at.top));
                    row_bottom = std::max(row_bottom, static_cast<int>(at.bottom));
                }
            }
            const int dy = row_bottom - row_top + kMargin / 2;
            for (auto& other : w.controls) {
                RECT at = placement(w, other->hwnd);
                const bool same_row = at.top < place.bottom && at.bottom > place.top;
                if (same_row && at.left >= from.left) {
                    SetWindowPos(other->hwnd, nullptr, at.left - from.left + kMargin, at.top + dy,
                                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                } else if (!same_row && at.top >= row_bottom) {
                    SetWindowPos(other->hwnd, nullptr, at.left, at.top + dy, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            }
            return true;
        }
        return false;
    }

    // A one-line box the program fills is seen whole only if it is as wide as its text: it
    // grows, and when its row has no room left it moves to a line of its own below, at the
    // window's left edge, and what lies below moves down.
    void fit_box_to_text(Window& w, Control& c) {
        constexpr int kMargin = 8;
        if ((c.shape.kind != ControlKind::Edit && !c.focusable_label) ||
            c.shape.style == EditStyle::MultiLine ||
            c.shape.style == EditStyle::ReadOnlyMultiLine) {
            return;
        }
        std::string text = window_text(c.hwnd);
        text.erase(text.find_last_not_of(' ') + 1);
        HDC dc = GetDC(c.hwnd);
        HGDIOBJ old_font = SelectObject(dc, w.font);
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old_font);
        ReleaseDC(c.hwnd, dc);
        RECT place = placement(w, c.hwnd);
        const int wanted = static_cast<int>(size.cx) + 2 * GetSystemMetrics(SM_CXEDGE) + 6 +
                           static_cast<int>(metrics.tmAveCharWidth);
        if (wanted <= place.right - place.left) {
            return;
        }
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_EXSTYLE)));
        const int most_width = area.right - area.left - (frame.right - frame.left);
        int left = place.left;
        int top = place.top;
        if (left + wanted + kMargin > most_width && left > kMargin) {
            const int lower = place.bottom - place.top + kMargin / 2;
            for (auto& other : w.controls) {
                RECT at = placement(w, other->hwnd);
                if (other.get() != &c && at.top >= place.bottom) {
                    SetWindowPos(other->hwnd, nullptr, at.left, at.top + lower, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            }
            left = kMargin;
            top = place.bottom + kMargin / 2;
        }
        SetWindowPos(c.hwnd, nullptr, left, top, std::min(wanted, most_width - left - kMargin),
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        fit_window(w);
    }

    // The window grows to hold what it shows, with a margin, and stays on the work area.
    void fit_window(Window& w) {
        constexpr int kMargin = 8;
        RECT client{};
        GetClientRect(w.hwnd, &client);
        int right = client.right;
        int bottom = client.bottom;
        for (auto& c : w.controls) {
            RECT at = placement(w, c->hwnd);
            right = std::max(right, static_cast<int>(at.right) + kMargin);
            bottom = std::max(bottom, static_cast<int>(at.bottom) + kMargin);
        }
        if (right == client.right && bottom == client.bottom) {
            return;
        }
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        RECT frame{0, 0, right, bottom};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(w.hwnd, GWL_EXSTYLE)));
        const int width =
            static_cast<int>(std::min(frame.right - frame.left, area.right - area.left));
        const int height =
            static_cast<int>(std::min(frame.bottom - frame.top, area.bottom - area.top));
        RECT own{};
        GetWindowRect(w.hwnd, &own);
        const int x =
            std::max(static_cast<int>(area.left),
                     std::min(static_cast<int>(own.left), static_cast<int>(area.right) - width));
        const int y =
            std::max(static_cast<int>(area.top),
                     std::min(static_cast<int>(own.top), static_cast<int>(area.bottom) - height));
        SetWindowPos(w.hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A control's place in its window's client area.
    static RECT placement(Window& w, HWND control) {
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, w.hwnd, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    static void centre(HWND hwnd, HWND over) {
        RECT area;
        if (over != nullptr) {
            GetWindowRect(over, &area);
        } else {
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        }
        RECT own;
        GetWindowRect(hwnd, &own);
        int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
        int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
        SetWindowPos(hwnd, nullptr, std::max(0, x), std::max(0, y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void destroy(WindowId id) {
        Window* w = find(id);
        if (w == nullptr) {
            return;
        }
        KillTimer(w->hwnd, kTimerId);
        DestroyWindow(w->hwnd);
        for (auto& c : w->controls) {
            if (c->brush != nullptr) {
                DeleteObject(c->brush);
            }
        }
        if (w->keys != nullptr) {
            DestroyAcceleratorTable(w->keys);
        }
        if (w->brush != nullptr) {
            DeleteObject(w->brush);
        }
        DeleteObject(w->font);
        m_windows.erase(id);
        // The owner gets its focus back, as the screen left it.
        if (Window* owner = find(top())) {
            SetForegroundWindow(owner->hwnd);
            if (Control* c = find_control(*owner, owner->focus)) {
                SetFocus(c->hwnd);
            }
        }
    }

    void notify(Window& w, HWND from, int code) {
        Control* c = control_of(w, from);
        if (c == nullptr) {
            return;
        }
        int id = c->shape.id;
        bool focus = false;
        switch (c->shape.kind) {
            case ControlKind::Edit:
                focus = code == EN_SETFOCUS;
                if (code == EN_CHANGE && m_quiet == 0) {
                    w.events->on_text_changed(id);
                }
                break;
            case ControlKind::List:
                focus = code == LBN_SETFOCUS;
                if (code == LBN_SELCHANGE && m_quiet == 0) {
                    w.events->on_selection_changed(id);
                } else if (code == LBN_DBLCLK) {
                    w.events->on_double_click(id);
                }
                break;
            case ControlKind::DropDown:
                focus = code == CBN_SETFOCUS;
                if (code == CBN_SELCHANGE && m_quiet == 0) {
                    w.events->on_selection_changed(id);
                }
                break;
            case ControlKind::Button:
                focus = code == BN_SETFOCUS;
                if (code == BN_CLICKED) {
                    w.events->on_command(id);
                }
                break;
            case ControlKind::Label:
                break;
        }
        if (focus && w.focus != id) {
            w.focus = id;
            w.events->on_focus(id);
        }
    }

    HBRUSH colours(Window& w, HDC dc, HWND from) {
        Control* c = control_of(w, from);
        if (c != nullptr && (c->shape.text_colour || c->shape.background)) {
            if (c->shape.text_colour) {
                SetTextColor(dc, *c->shape.text_colour);
            }
            if (c->brush != nullptr) {
                SetBkColor(dc, *c->shape.background);
                return c->brush;
            }
        }
        if (w.brush != nullptr && c != nullptr && c->shape.kind == ControlKind::Label) {
            SetBkColor(dc, *w.shape.background);
            return w.brush;
        }
        return nullptr;
    }

    static INT_PTR CALLBACK dialog_procedure(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
            return FALSE;
        }
        auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (w == nullptr) {
            return FALSE;
        }
        switch (message) {
            case WM_COMMAND: {
                int id = LOWORD(wparam);
                int code = HIWORD(wparam);
                if (lparam != 0) {
                    w->ui->notify(*w, reinterpret_cast<HWND>(lparam), code);
                } else if (!w->closed) {
                    // Enter (IDOK), Escape and the close box (IDCANCEL), or a key of the
                    // accelerator table.
                    w->events->on_command(id);
                }
                return TRUE;
            }
            case WM_TIMER:
                if (wparam == kTimerId && !w->closed) {
                    w->events->on_timer();
                }
                return TRUE;
            case kPostedCommand:
                if (!w->closed) {
                    w->events->on_command(static_cast<int>(wparam));
                }
                return TRUE;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX: {
                HBRUSH brush = w->ui->colours(*w, reinterpret_cast<HDC>(wparam),
                                              reinterpret_cast<HWND>(lparam));
                return reinterpret_cast<INT_PTR>(brush);
            }
            case WM_CTLCOLORDLG:
                return reinterpret_cast<INT_PTR>(w->brush);
            case WM_ACTIVATE:
                // The dialog manager would first give the focus back to the box it last
                // had, or its first box, and a reader would speak that box before the one
                // the screen chose: the screen's box takes it at once instead.
                if (LOWORD(wparam) != WA_INACTIVE) {
                    if (Control* c = find_control(*w, w->focus)) {
                        SendMessageA(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c->hwnd), TRUE);
                        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
                        return TRUE;
                    }
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

    HINSTANCE m_instance;
    double m_scale = 2.0;       // layout units to pixels
    double m_text_scale = 2.0;  // font layout units to pixels
    double m_dpi_scale = 1.0;   // dots per inch / 96
    std::map<WindowId, std::unique_ptr<Window>> m_windows;
    WindowId m_next_id = 1;
    int m_quiet = 0;
    Announcer m_announcer;
    HWND m_read_with_window = nullptr;
    std::vector<PendingSpeech> m_pending;
};

}  // namespace

std::unique_ptr<platform::Ui> make_win32_ui(HINSTANCE instance) {
    return std::make_unique<Win32Ui>(instance);
}

}  // namespace vl::win32
