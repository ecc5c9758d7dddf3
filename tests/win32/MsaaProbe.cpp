// msaa_probe: starts varrowlog.exe and plays a walk file to it: keys pressed as an operator
// presses them, the windows read through MSAA (oleacc) as NVDA and JAWS read them, measured,
// and saved as BMP files.
//   msaa_probe PROGRAM_EXE SHOT_FOLDER WALK_FILE    exit 0 when every check holds
//   msaa_probe --shipped PROGRAM_EXE WALK_FILE       the program as shipped: its icon,
//                                                    version and manifest, then the walk
// A walk file: what an operator does to the Windows program and what a screen reader and a
// partially sighted operator must find, a line each:
//   key KEY...          keys as the key scripts name them       type TEXT
//   menu N              the main menu's entry N (from 0) opened afresh
//   window CAPTION      a window whose caption holds CAPTION comes, read by its caption;
//                       the time since the start is printed
//   message TITLE|TEXT  a message box comes, its title read and its text there to read
//   shot NAME CAPTION   the window comes, is read and measured, and is saved as NAME.bmp
//   boxes N R           the last shot has N boxes, R of them read only, at least
//   focus SAID          what the reader says of the focus: KIND "NAME" "VALUE"
//   gone CAPTION        the window closes         asked CAPTION   Y, if the question comes
//   ended               the program ends
//
// Each window is read as a screen reader reads it (every box named by the label right before
// it, no two boxes of a window by the same name, a read-only box spoken as read only, the
// focus after each key) and measured as a partially sighted operator sees it (every control
// inside its window, every window on the screen's work area, every one-line box's text
// whole, no box narrower than it is tall, lists as tall as their entries or their window as
// tall as it can be). Labels, buttons and list entries are not measured: Wine lends no other
// process a window's font, so they are seen in the screenshots.
#include "win32/Drive.h"
#include "win32/Msaa.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vl::test {

namespace {

int g_failed = 0;
std::size_t g_read_only = 0;  // of the last screen checked

void fail(const std::string& screen, const std::string& what) {
    std::printf("FAILED: %s: %s\n", screen.c_str(), what.c_str());
    std::fflush(stdout);
    ++g_failed;
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
    return to_1252(text.data(), static_cast<int>(std::max<LRESULT>(got, 0)));
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
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT client{}, inside{}, place{}, frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    GetClientRect(control, &inside);
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    if (place.left < 0 || place.top < 0 || place.right > client.right ||
        place.bottom > client.bottom) {
        fail(screen, what + " lies outside its window");
    }
    if ((kind == "Edit" || kind == "ComboBox") && width_of(place) < height_of(place) &&
        (style & ES_MULTILINE) == 0) {
        fail(screen, what + " is narrower than it is tall");
    }
    if (kind == "ListBox") {
        // Tall enough for its entries, or as tall as the work area lets its window be.
        const auto count = static_cast<int>(SendMessageA(control, LB_GETCOUNT, 0, 0));
        const auto line = static_cast<int>(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0));
        if (count * line > height_of(inside) && frame.bottom < work.bottom - 2 * line) {
            fail(screen, kind + " shows " + std::to_string(height_of(inside) / std::max(line, 1)) +
                             " of its " + std::to_string(count) +
                             " entries, and its window could be taller");
        }
    }
    const std::size_t last = text.find_last_not_of(' ');
    if (kind != "Edit" || (style & (ES_MULTILINE | ES_PASSWORD)) != 0 || last == 0 ||
        last == std::string::npos) {
        return;
    }
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
std::size_t check_screen(const std::string& screen, HWND window) {
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
    g_read_only = 0;
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
        if (shown && kind == "Edit" && (GetWindowLongA(child, GWL_STYLE) & ES_READONLY) != 0) {
            ++g_read_only;
            if ((Accessible(child, OBJID_CLIENT).state() & STATE_SYSTEM_READONLY) == 0) {
                fail(screen, "the read-only box \"" + labels.back() + "\" is not spoken so");
            }
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
        const bool list = class_of(boxes[i]) == "ComboBox" || class_of(boxes[i]) == "ListBox";
        std::string name =
            list ? label_before(boxes[i]) : Accessible(boxes[i], OBJID_CLIENT).name();
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
    std::printf("%s: %zu boxes, %zu read only\n", screen.c_str(), boxes.size(), g_read_only);
    std::fflush(stdout);
    return boxes.size();
}

// What the reader says for the focus, as the reader stand-in's transcript has it.
std::string spoken_focus(DWORD thread) {
    HWND focus = focused_window(thread);
    if (focus == nullptr) {
        return "(nothing)";
    }
    const Said said = said_of(focus);
    return said.kind + " " + quoted(said.name) + " " + quoted(said.value);
}

// Plays WALK to the started PROGRAM, saving its shots in SHOT_FOLDER; the number of checks
// that failed.
int play_walk(Program& program, std::istream& walk, const std::string& shot_folder) {
    g_failed = 0;
    const DWORD started = GetTickCount();
    DWORD thread = 0;
    std::size_t boxes = 0;
    std::string line;
    for (int number = 1; std::getline(walk, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string verb = line.substr(0, line.find(' '));
        const std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
        const std::string where = "line " + std::to_string(number);
        static const std::set<std::string> kVerbs = {"key",   "type",    "menu",  "window",
                                                     "shot",  "message", "boxes", "gone",
                                                     "asked", "focus",   "ended"};
        if (kVerbs.count(verb) == 0) {
            fail(where, "no such step: " + line);
            continue;
        }
        HWND window = nullptr;
        auto comes = [&](const std::string& caption, int ms) {
            return wait_for([&] { return (window = program.window(caption)) != nullptr; }, ms);
        };
        if (verb == "key") {
            std::istringstream keys(rest);
            for (std::string key; keys >> key;) {
                if (!press(key)) {
                    fail(where, "no key " + key);
                }
            }
        } else if (verb == "type") {
            type(rest);
        } else if (verb == "menu") {
            // The main menu's entry, from 0, opened afresh, as the selection stays where it was.
            press("Home");
            for (int i = std::stoi(rest); i > 0; --i) {
                press("Down");
            }
            press("Enter");
        } else if (verb == "window" || verb == "shot" || verb == "message") {
            const std::string name = verb == "shot" ? rest.substr(0, rest.find(' ')) : "";
            const std::string caption = verb == "shot"      ? rest.substr(name.size() + 1)
                                        : verb == "message" ? rest.substr(0, rest.find('|'))
                                                            : rest;
            // Two minutes, for the main menu of the largest log under a loaded Wine.
            if (!comes(caption, 120000)) {
                fail(where, "no window \"" + caption + "\" came");
                return g_failed;
            }
            std::printf("%s: \"%s\" after %lu ms\n", where.c_str(), caption.c_str(),
                        GetTickCount() - started);
            thread = thread != 0 ? thread : GetWindowThreadProcessId(window, nullptr);
            if (Accessible(window, OBJID_CLIENT).name() != text_of(window)) {
                fail(where, "the caption \"" + text_of(window) + "\" is not read");
            }
            if (verb == "message" &&
                FindWindowExA(window, nullptr, "Static", rest.substr(caption.size() + 1).c_str()) ==
                    nullptr) {
                fail(where, "the message box's text is not there to read");
            }
            if (verb == "shot") {
                Sleep(500);  // painted
                boxes = check_screen(name, window);
                save_screenshot(shot_folder + "\\" + name + ".bmp");
            }
        } else if (verb == "boxes" && (boxes < std::stoul(rest) ||
                                       g_read_only < std::stoul(rest.substr(rest.find(' '))))) {
            fail(where,
                 std::to_string(boxes) + " boxes, " + std::to_string(g_read_only) + " read only");
        } else if (verb == "gone" && !wait_for([&] { return program.window(rest) == nullptr; })) {
            fail(where, "the window stays");
        } else if (verb == "asked" && comes(rest, 5000)) {
            press("Y");
        } else if (verb == "focus" && !wait_for([&] { return spoken_focus(thread) == rest; })) {
            fail(where, "the focus: " + spoken_focus(thread));
        } else if (verb == "ended" && !program.ended(10000)) {
            fail(where, "the program does not end");
        }
    }
    std::printf("%d failed\n", g_failed);
    return g_failed;
}

}  // namespace
}  // namespace vl::test

namespace {

using namespace vl::test;

// The program as the operator unpacks it: its resources, then the walk.
int check_shipped_program(const std::string& exe, std::istream& walk) {
    int failed = 0;
    auto check = [&](bool ok, const char* what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
        failed += ok ? 0 : 1;
    };
    HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(image != nullptr, "the program's resources can be read");
    if (image != nullptr) {
        HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        std::string text;
        if (manifest != nullptr) {
            const char* bytes =
                static_cast<const char*>(LockResource(LoadResource(image, manifest)));
            text.assign(bytes, SizeofResource(image, manifest));
        }
        check(text.find("Microsoft.Windows.Common-Controls") != std::string::npos &&
                  text.find("version=\"6.0.0.0\"") != std::string::npos,
              "the manifest asks for the common controls 6");
        check(FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)) != nullptr,
              "the program has an icon");
        FreeLibrary(image);
    }
    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    char* product = nullptr;
    UINT length = 0;
    check(!version.empty() &&
              GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(version.size()),
                                  version.data()) &&
              VerQueryValueA(version.data(), "\\StringFileInfo\\040904E4\\ProductName",
                             reinterpret_cast<void**>(&product), &length) &&
              std::string(product) == "Varrow Log",
          "the version information names the program");
    Program program;
    return program.start(exe) && play_walk(program, walk, ".") == 0 && failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own pixels, not a scaled copy, at any dots per inch.
    SetProcessDPIAware();
    CoInitialize(nullptr);
    std::ifstream walk(argc == 4 ? argv[3] : "");
    if (!walk) {
        std::fprintf(stderr, "usage: msaa_probe [--shipped] PROGRAM_EXE [SHOT_FOLDER] WALK_FILE\n");
        return 2;
    }
    if (std::string(argv[1]) == "--shipped") {
        return check_shipped_program(argv[2], walk);
    }
    Program program;
    return program.start(argv[1]) && play_walk(program, walk, argv[2]) == 0 ? 0 : 1;
}
