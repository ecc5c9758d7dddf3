// msaa_probe: starts varrowlog.exe, presses keys as an operator would and reads the windows
// through MSAA (oleacc), as NVDA and JAWS read them: the captions, each box's name (its
// label), the focus after each key, and a message box. Screenshots of the main menu and of
// the off-line logging form are saved as BMP files.
//   msaa_probe PROGRAM_EXE ARTIFACT_FOLDER          the probe; exit 0 when every check holds
//   msaa_probe --time PROGRAM_EXE                    prints the time to the main menu
//   msaa_probe --main-menu PROGRAM_EXE               the program as shipped: its main menu
//                                                    read, its icon, version and manifest
//   msaa_probe --screens PROGRAM_EXE SHOT_FOLDER     every screen opened, read, measured and
//                                                    saved as NAME.bmp; exit 0 when all hold
#include "win32/Drive.h"
#include "win32/Msaa.h"
#include "win32/ScreenWalk.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace vl::test;

const char kMainMenu[] = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z.";
// The first box of a new log's form: its label tells the entry's number.
const char kDateBox[] = "Edit \"Entry number 1, QSO Date\"";

int g_failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!ok) {
        ++g_failures;
    }
}

HWND focused_window(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// What the reader says for the focus: the control's name, and for a list its item.
std::string spoken_focus(DWORD thread) {
    HWND focus = focused_window(thread);
    if (focus == nullptr) {
        return "(nothing)";
    }
    Accessible control(focus, OBJID_CLIENT);
    std::string said = class_of(focus) + " \"" + control.name() + "\"";
    if (class_of(focus) == "ListBox") {
        std::string item = control.focused_item();
        if (item.empty()) {
            // Wine's oleacc has no list box proxy yet ("unhandled window class"): the item
            // is read from the list itself, as that proxy reads it on Windows.
            LRESULT index = SendMessageW(focus, LB_GETCURSEL, 0, 0);
            LRESULT length = index < 0 ? -1 : SendMessageW(focus, LB_GETTEXTLEN, index, 0);
            if (length >= 0) {
                BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(length));
                SendMessageW(focus, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
                item = narrow(text);
            }
        }
        said += " item \"" + item + "\"";
    }
    return said;
}

// Each box of a form is named by the label created right before it.
void check_form_labels(HWND form) {
    std::string label;
    int boxes = 0;
    bool read_only_seen = false;
    for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        std::string kind = class_of(child);
        if (kind == "Static") {
            label = without_ampersand(text_of(child));
            continue;
        }
        Accessible box(child, OBJID_CLIENT);
        check(box.name() == label,
              kind + " named \"" + box.name() + "\", its label \"" + label + "\"");
        bool read_only = (GetWindowLongA(child, GWL_STYLE) & ES_READONLY) != 0 && kind == "Edit";
        if (read_only) {
            read_only_seen = true;
            check((box.state() & STATE_SYSTEM_READONLY) != 0,
                  "the read-only box \"" + label + "\" is spoken as read only");
        }
        ++boxes;
        label.clear();
    }
    check(boxes >= 8, "the form has its boxes (" + std::to_string(boxes) + ")");
    check(read_only_seen, "the form has a read-only box");
}

int time_to_main_menu(const std::string& exe) {
    Program program;
    auto start = std::chrono::steady_clock::now();
    if (!program.start(exe)) {
        std::printf("cannot start %s\n", exe.c_str());
        return 1;
    }
    if (!wait_for([] { return visible_window(kMainMenu) != nullptr; }, 120000)) {
        std::printf("the main menu did not open\n");
        return 1;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("main menu after %lld ms\n", static_cast<long long>(elapsed.count()));
    press(VK_ESCAPE);
    program.ended(10000);
    return 0;
}

// Starts the program and checks that its main menu opens, is read by its caption and has the
// focus on its first entry; the menu's window, or none when it did not open.
HWND open_main_menu(Program& program, const std::string& exe) {
    if (!program.start(exe)) {
        std::printf("cannot start %s\n", exe.c_str());
        return nullptr;
    }
    HWND menu = nullptr;
    check(wait_for([&] { return (menu = visible_window(kMainMenu)) != nullptr; }, 60000),
          "the main menu opens");
    if (menu == nullptr) {
        return nullptr;
    }
    DWORD thread = program.thread_of(menu);
    check(Accessible(menu, OBJID_CLIENT).name() == kMainMenu, "the main menu's caption is read");
    check(wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Instructions.\""; }),
          "the focus: " + spoken_focus(thread));
    return menu;
}

// The program as the operator unpacks it: its resources, then its main menu read through
// MSAA, and Escape ends it.
int check_shipped_program(const std::string& exe) {
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
    if (open_main_menu(program, exe) == nullptr) {
        return 1;
    }
    press(VK_ESCAPE);
    check(program.ended(10000), "Escape ends the program");
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own pixels, not a scaled copy, at any dots per inch.
    SetProcessDPIAware();
    if (argc == 4 && std::string(argv[1]) == "--screens") {
        CoInitialize(nullptr);
        return walk_every_screen(argv[2], argv[3]) == 0 ? 0 : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--time") {
        return time_to_main_menu(argv[2]);
    }
    if (argc == 3 && std::string(argv[1]) == "--main-menu") {
        CoInitialize(nullptr);
        return check_shipped_program(argv[2]);
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: msaa_probe PROGRAM_EXE ARTIFACT_FOLDER\n");
        return 2;
    }
    CoInitialize(nullptr);
    std::string artifacts = argv[2];
    Program program;
    HWND menu = open_main_menu(program, argv[1]);
    if (menu == nullptr) {
        return 1;
    }
    DWORD thread = program.thread_of(menu);
    save_screenshot(artifacts + "\\main_menu.bmp");

    // A window of labels only: its line takes the focus, and its keys work.
    press(VK_F1);
    HWND help = nullptr;
    check(wait_for([&] { return (help = visible_window("Key help. ")) != nullptr; }),
          "F1 opens the Key help box");
    // The reader is on the line itself, as read-only text, and hears each new line.
    auto line = [&] {
        HWND focus = focused_window(thread);
        return GetParent(focus) == help ? Accessible(focus, OBJID_CLIENT).value() : "";
    };
    check(wait_for([&] { return line() == "Arrow keys to choose a facility"; }),
          "its line has the focus: " + line());
    press(VK_DOWN);
    check(wait_for([&] { return line() == "ENTER to open it"; }), "Down: " + line());
    press(VK_ESCAPE);
    check(wait_for([] { return visible_window("Key help. ") == nullptr; }), "Escape closes it");
    check(wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Instructions.\""; }),
          "the focus returns to the menu: " + spoken_focus(thread));

    // The manual: a list of topics, and each topic as read-only text over several lines,
    // which Enter opens and Escape leaves.
    press(VK_RETURN);
    check(wait_for([] { return visible_window("How to use Varrow Log.") != nullptr; }),
          "Enter opens the manual's topics");
    check(wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Overview\""; }),
          "the focus: " + spoken_focus(thread));
    press(VK_RETURN);
    HWND topic = nullptr;
    check(wait_for([&] { return (topic = visible_window("Overview")) != nullptr; }),
          "Enter opens the topic");
    check(wait_for([&] {
              HWND focus = focused_window(thread);
              return GetParent(focus) == topic &&
                     (Accessible(focus, OBJID_CLIENT).state() & STATE_SYSTEM_READONLY) != 0 &&
                     !Accessible(focus, OBJID_CLIENT).value().empty();
          }),
          "the topic's text has the focus, read only");
    press(VK_ESCAPE);
    check(wait_for([] { return visible_window("Overview") == nullptr; }),
          "Escape leaves the topic");
    press(VK_ESCAPE);
    check(wait_for([] { return visible_window("How to use Varrow Log.") == nullptr; }),
          "Escape leaves the topics");
    check(wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Instructions.\""; }),
          "back on the menu: " + spoken_focus(thread));

    press(VK_DOWN);
    check(
        wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Off line logging.\""; }),
        "Down: " + spoken_focus(thread));
    press(VK_RETURN);
    HWND form = nullptr;
    check(wait_for([&] { return (form = visible_window("Off Line Logging")) != nullptr; }),
          "Enter opens the off-line logging form");
    if (form == nullptr) {
        return 1;
    }
    check(Accessible(form, OBJID_CLIENT).name() == "Off Line Logging", "its caption is read");
    check_form_labels(form);
    check(wait_for([&] { return spoken_focus(thread) == kDateBox; }),
          "the focus: " + spoken_focus(thread));
    press(VK_TAB);
    check(wait_for([&] { return spoken_focus(thread) == "Edit \"Call Sign\""; }),
          "Tab: " + spoken_focus(thread));
    press(VK_TAB, true);
    check(wait_for([&] { return spoken_focus(thread) == kDateBox; }),
          "Shift+Tab: " + spoken_focus(thread));
    press(VK_RETURN);
    check(wait_for([&] { return spoken_focus(thread) == "Edit \"Call Sign\""; }),
          "Enter moves on as Tab does: " + spoken_focus(thread));
    save_screenshot(artifacts + "\\offline_form.bmp");

    press('G');
    press('3');
    press('X');
    press(VK_ESCAPE);
    HWND box = nullptr;
    check(wait_for([&] { return (box = visible_window("Entry not saved")) != nullptr; }),
          "Escape with a call sign typed asks first");
    if (box != nullptr) {
        Accessible question(box, OBJID_CLIENT);
        check(question.name() == "Entry not saved", "the message box's title is read");
        check(FindWindowExA(box, nullptr, "Static", "Leave without saving?") != nullptr,
              "the message box's text is there to read");
        check(wait_for([&] { return spoken_focus(thread) == "Button \"No\""; }),
              "a question that loses the entry has No focused: " + spoken_focus(thread));
        press(VK_RETURN);
        check(wait_for([&] { return visible_window("Entry not saved") == nullptr; }) &&
                  visible_window("Off Line Logging") != nullptr,
              "Enter answers No and the form stays");
        check(wait_for([&] { return spoken_focus(thread) == "Edit \"Call Sign\""; }),
              "the focus returns: " + spoken_focus(thread));
        press(VK_ESCAPE);
        check(wait_for([] { return visible_window("Entry not saved") != nullptr; }),
              "Escape asks again");
        press('Y');
        check(wait_for([] { return visible_window("Off Line Logging") == nullptr; }),
              "Y leaves the form");
    }
    check(
        wait_for([&] { return spoken_focus(thread) == "ListBox \"\" item \"Off line logging.\""; }),
        "back on the main menu: " + spoken_focus(thread));
    press(VK_ESCAPE);
    check(program.ended(10000), "Escape on the main menu ends the program");
    std::printf("%d failed\n", g_failures);
    CoUninitialize();
    return g_failures == 0 ? 0 : 1;
}
