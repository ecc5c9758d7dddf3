// The walk through every screen: each window is read as a screen reader reads it (every box
// named by the label right before it, no two boxes of a window by the same name) and
// measured as a partially sighted operator sees it (every control inside its window, every
// window on the screen's work area, every one-line box's text whole, no box narrower than
// it is tall, lists as tall as their entries or their window as tall as it can be). Labels,
// buttons and list entries are not measured: Wine lends no other process a window's font,
// so they are seen in the screenshots.
#include "win32/ScreenWalk.h"

#include "win32/Drive.h"
#include "win32/Msaa.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace vl::test {

namespace {

int g_failed = 0;
DWORD g_process = 0;

void fail(const std::string& screen, const std::string& what) {
    std::printf("FAILED: %s: %s\n", screen.c_str(), what.c_str());
    std::fflush(stdout);
    ++g_failed;
}

// The program's visible top-level window whose caption holds `part`, topmost first.
HWND program_window(const std::string& part) {
    struct Search {
        const std::string* part;
        HWND found;
    } search{&part, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == g_process && IsWindowVisible(hwnd) &&
                text_of(hwnd).find(*s->part) != std::string::npos) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT client_place(HWND parent, HWND child) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// What the reader names the box.
std::string name_of(HWND box) {
    // Wine's oleacc has no list or drop-down list proxy (it gives no name, or the chosen
    // entry), where Windows' proxy gives the label right before the box, as NVDA and JAWS
    // read it.
    if (class_of(box) == "ComboBox" || class_of(box) == "ListBox") {
        HWND label = GetWindow(box, GW_HWNDPREV);
        return label != nullptr && class_of(label) == "Static" ? without_ampersand(text_of(label))
                                                               : std::string();
    }
    return Accessible(box, OBJID_CLIENT).name();
}

int width_of(const RECT& r) {
    return r.right - r.left;
}
int height_of(const RECT& r) {
    return r.bottom - r.top;
}

// The text a box shows: asked of the box itself (Wine's GetWindowText from another process
// gives the text the box was made with).
std::string shown_text(HWND box) {
    std::wstring text(4096, L'\0');
    const LRESULT got =
        SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::string out(text.size() * 2, '\0');
    const int made =
        WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(std::max<LRESULT>(got, 0)),
                            out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<std::size_t>(std::max(made, 0)));
    return out;
}

POINT char_place(HWND box, std::size_t index) {
    const LRESULT at = SendMessageA(box, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
}

// Whatever of one control a sighted operator would miss: the control past its window's edge,
// a list shorter than its entries while the screen has room, or a one-line box's text past
// the box's. The box is asked where it draws its first and
// last letters, in its own font (Wine gives no other process a window's font).
void check_fit(const std::string& screen, HWND window, HWND control, const RECT& work) {
    const std::string kind = class_of(control);
    const std::string text = shown_text(control);
    const std::string what = kind + " \"" + text.substr(0, 40) + "\"";
    RECT client{};
    GetClientRect(window, &client);
    RECT place = client_place(window, control);
    if (place.left < 0 || place.top < 0 || place.right > client.right ||
        place.bottom > client.bottom) {
        fail(screen, what + " lies outside its window");
    }
    if ((kind == "Edit" || kind == "ComboBox") && width_of(place) < height_of(place) &&
        (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) == 0) {
        fail(screen, what + " is narrower than it is tall");
    }
    if (kind == "ListBox") {
        // Tall enough for its entries, or as tall as the work area lets its window be.
        const auto count = static_cast<int>(SendMessageA(control, LB_GETCOUNT, 0, 0));
        const auto line = static_cast<int>(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0));
        RECT inside{};
        GetClientRect(control, &inside);
        RECT frame{};
        GetWindowRect(window, &frame);
        if (count * line > height_of(inside) && frame.bottom < work.bottom - 2 * line) {
            fail(screen, kind + " shows " + std::to_string(height_of(inside) / std::max(line, 1)) +
                             " of its " + std::to_string(count) +
                             " entries, and its window could be taller");
        }
    }
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::size_t last = text.find_last_not_of(' ');
    if (kind != "Edit" || (style & (ES_MULTILINE | ES_PASSWORD)) != 0 || last == 0 ||
        last == std::string::npos) {
        return;
    }
    RECT inside{};
    GetClientRect(control, &inside);
    const POINT first = char_place(control, 0);
    const POINT end = char_place(control, last);
    const int letter = (end.x - first.x) / static_cast<int>(last);
    const int needed = end.x - first.x + letter;
    if (first.x >= 0 && end.x + letter <= inside.right) {
        return;
    }
    if (needed > width_of(work)) {
        // A log entry read as one sentence is longer than any screen: the reader has it whole.
        std::printf("%s: %s is longer than the screen is wide (%d pixels)\n", screen.c_str(),
                    what.c_str(), needed);
        return;
    }
    fail(screen, what + " needs " + std::to_string(needed) + " pixels, has " +
                     std::to_string(width_of(inside)));
}

// Every box named by the label right before it, every box with a name of its own; every
// control inside its window; the window on the work area.
void check_screen(const std::string& screen, HWND window) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    GetWindowRect(window, &frame);
    if (frame.left < work.left || frame.top < work.top || frame.right > work.right ||
        frame.bottom > work.bottom) {
        fail(screen, "the window lies outside the screen's work area");
    }
    std::vector<HWND> boxes;
    std::vector<std::string> labels;
    std::string label;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        const bool shown = IsWindowVisible(child) && width_of(place) > 0 && height_of(place) > 0;
        const std::string kind = class_of(child);
        if (kind == "Static") {
            label = without_ampersand(text_of(child));
        } else if (shown) {
            boxes.push_back(child);
            labels.push_back(kind == "Button" ? without_ampersand(text_of(child)) : label);
            label.clear();
        }
        if (shown) {
            check_fit(screen, window, child, work);
        }
    }
    // A window of labels only reads its first line as read-only text, by its value; a
    // menu's list alone in its window is read with the window's caption, then its entry.
    const bool lines_only = boxes.size() == 1 && labels[0].empty() &&
                            ((class_of(boxes[0]) == "Edit" &&
                              (GetWindowLongA(boxes[0], GWL_STYLE) & ES_READONLY) != 0) ||
                             class_of(boxes[0]) == "ListBox");
    std::set<std::string> names;
    for (std::size_t i = 0; i < boxes.size() && !lines_only; ++i) {
        std::string name = name_of(boxes[i]);
        const std::string what = class_of(boxes[i]) + " named \"" + name + "\"";
        if (name.empty()) {
            fail(screen,
                 class_of(boxes[i]) + " \"" + text_of(boxes[i]).substr(0, 40) + "\" has no name");
        } else if (name != labels[i]) {
            fail(screen, what + ", the label before it \"" + labels[i] + "\"");
        } else if (!names.insert(name).second) {
            fail(screen, what + ": another box of the window has that name");
        }
    }
    std::printf("%s: %zu boxes\n", screen.c_str(), boxes.size());
    std::fflush(stdout);
}

class Walk {
public:
    explicit Walk(std::string folder) : m_folder(std::move(folder)) {}

    // Waits for the window, checks it and takes the screen.
    bool shot(const std::string& name, const std::string& caption) {
        HWND window = nullptr;
        if (!wait_for([&] { return (window = program_window(caption)) != nullptr; })) {
            fail(name, "no window \"" + caption + "\" came");
            return false;
        }
        Sleep(500);  // painted
        check_screen(name, window);
        save_screenshot(m_folder + "\\" + name + ".bmp");
        return true;
    }

    // Escape and, for a form with something typed, Y to leave it unsaved.
    void leave(const std::string& caption, bool ask = false) {
        press(VK_ESCAPE);
        if (ask && wait_for([] { return program_window("not saved") != nullptr; }, 5000)) {
            press('Y');
        }
        if (!wait_for([&] { return program_window(caption) == nullptr; })) {
            fail(caption, "the window stays after Escape");
        }
    }

    // The main menu's entry, from 0, opened afresh, as the selection stays where it was.
    static void menu(int entry) {
        press(VK_HOME);
        for (int i = 0; i < entry; ++i) {
            press(VK_DOWN);
        }
        press(VK_RETURN);
    }

private:
    std::string m_folder;
};

}  // namespace

int walk_every_screen(const std::string& exe, const std::string& shot_folder) {
    Program program;
    if (!program.start(exe)) {
        std::printf("cannot start %s\n", exe.c_str());
        return 1;
    }
    g_process = program.process.dwProcessId;
    Walk walk(shot_folder);
    if (!walk.shot("main_menu", "Varrow Log version")) {
        return 1;
    }
    press(VK_F1);
    walk.shot("key_help", "Key help");
    walk.leave("Key help");
    Walk::menu(1);
    type("15/01/14");
    press(VK_RETURN);
    type("G4NEW");
    press(VK_RETURN);
    type("1300");
    walk.shot("off_line", "Off Line Logging");
    walk.leave("Off Line Logging", true);
    Walk::menu(3);
    walk.shot("browse", "Browse the log");
    walk.leave("Browse the log");
    Walk::menu(7);
    walk.shot("station_data", "STATION DATA");
    walk.leave("STATION DATA");
    Walk::menu(8);
    walk.shot("dx_menu", "DX Data Facilities");
    press(VK_DOWN);
    press(VK_RETURN);
    walk.shot("dxcc_status", "DXCC Status");
    walk.leave("DXCC Status");
    press('C');
    press('C');
    press(VK_RETURN);
    walk.shot("countries_worked", "Countries Worked");
    walk.leave("Countries Worked");
    walk.leave("DX Data Facilities");
    Walk::menu(12);
    walk.shot("location", "Set Latitude");
    walk.leave("Set Latitude");
    Walk::menu(13);
    walk.shot("beam_heading", "Beam Heading");
    walk.leave("Beam Heading");
    Walk::menu(0);
    walk.shot("instructions", "How to use");
    press(VK_DOWN);
    press(VK_RETURN);
    walk.shot("manual_topic", "Off line logging.");
    walk.leave("Off line logging.");
    walk.leave("How to use");
    Walk::menu(18);
    walk.shot("about", "About Varrow Log");
    walk.leave("About Varrow Log");
    // On-line logging with a call checked, so the Country, Last QSO and Beam Heading boxes
    // are full, and the database search and note pad it opens.
    Walk::menu(2);
    type("G4ABC");
    press(VK_RETURN);
    walk.shot("on_line", "On Line Logging");
    press(VK_F1);
    walk.shot("on_line_key_help", "Key help");
    walk.leave("Key help");
    press('1', false, VK_CONTROL);
    type("eu*");
    press(VK_RETURN);
    walk.shot("database", "Database Search");
    walk.leave("Database Search");
    press(VK_F5);
    type("Worked G4ABC on the new antenna");
    walk.shot("note_pad", "Note Pad");
    walk.leave("Note Pad");
    press(VK_ESCAPE);
    if (wait_for([] { return program_window("Exit on line Logging") != nullptr; }, 5000)) {
        press('Y');
    }
    if (!wait_for([] { return program_window("On Line Logging") == nullptr; })) {
        fail("on_line", "the window stays after Escape and Yes");
    }
    const struct {
        int entry;
        const char* name;
        const char* caption;
    } kPlain[] = {
        {4, "print_log", "PRINT LOG"},
        {5, "print_qsl", "PRINT QSLs"},
        {6, "print_swl", "Print SWL QSLs"},
        {9, "import", "IMPORT A LOG"},
        {10, "export", "Export to ADIF"},
        {11, "date_format", "Select Date Format"},
        {15, "uploads", "Uploads"},
        {16, "backup_drive", "Set Back Up Drive"},
    };
    for (const auto& screen : kPlain) {
        Walk::menu(screen.entry);
        walk.shot(screen.name, screen.caption);
        walk.leave(screen.caption);
    }
    // The needed callers of WSJT-X's decodes, from the main menu's F9.
    press(VK_F9);
    walk.shot("needed_callers", "Needed Callers");
    walk.leave("Needed Callers");
    // The call book screen, with the on-line call book's account boxes shown.
    Walk::menu(14);
    walk.shot("call_book", "Call Book selection");
    for (int i = 0; i < 4; ++i) {
        press(VK_DOWN);
    }
    walk.shot("call_book_online", "Call Book selection");
    walk.leave("Call Book selection");
    press(VK_ESCAPE);
    if (!program.ended(10000)) {
        fail("main_menu", "Escape does not end the program");
    }
    std::printf("every screen: %d failed\n", g_failed);
    return g_failed;
}

}  // namespace vl::test
