// reader_standin: a screen reader's stand-in for the Windows program. It listens to the
// program's WinEvents from outside its process, as NVDA and JAWS do, and writes what a
// reader would speak to a transcript, while it plays a key script to the program. The
// program's UI Automation notifications reach the same transcript through the stand-in
// UIAutomationCore.dll beside it.
//   reader_standin PROGRAM_EXE SCRIPT TRANSCRIPT
// Transcript lines: `window "CAPTION"`, `message "TITLE" "TEXT"`, `focus KIND "NAME" "VALUE"
// HANDLE` (the focus on a box), `item "TEXT" HANDLE` (the focused box's new item or line),
// and the stand-in library's `notification "TEXT" HANDLE`.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "win32/Msaa.h"

namespace {

using namespace vl::test;

std::string g_transcript;
DWORD g_process = 0;

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return out + "\"";
}

void write_line(const std::string& line) {
    HANDLE file =
        CreateFileA(g_transcript.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool ours(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return hwnd != nullptr && process == g_process;
}

// A message box is a dialog whose text is the static control 0xFFFF.
HWND message_text(HWND dialog) {
    HWND text = GetDlgItem(dialog, 0xFFFF);
    return text != nullptr && class_of(dialog) == "#32770" ? text : nullptr;
}

std::string kind_of(HWND hwnd, const Accessible& object) {
    std::string window_class = class_of(hwnd);
    if (window_class == "Edit") {
        return (object.state() & STATE_SYSTEM_READONLY) != 0 ? "readonly" : "edit";
    }
    if (window_class == "ListBox") {
        return "list";
    }
    if (window_class == "ComboBox") {
        return "dropdown";
    }
    if (window_class == "Button") {
        return "button";
    }
    return window_class;
}

// The item of a list a reader speaks; Wine's oleacc has no list box proxy yet, so the item
// is read from the list itself, as that proxy reads it on Windows.
std::string list_item(HWND hwnd, bool combo) {
    LRESULT index = SendMessageW(hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    if (index < 0) {
        return {};
    }
    LRESULT length =
        SendMessageW(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) {
        return {};
    }
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    return narrow(SysAllocString(item.c_str()));
}

// What the reader last spoke of, so that a state it finds again is not spoken twice.
HWND g_foreground = nullptr;
HWND g_focus = nullptr;
std::string g_value;

// A state seen once and gone at the next look (Wine's X11 driver passes the activation
// through the window underneath as a new one comes up) is not spoken: a reader takes the
// focus it finds when it comes to speak.
struct Seen {
    HWND foreground = nullptr;
    HWND focus = nullptr;
    std::string value;
    bool operator==(const Seen&) const = default;
};
Seen g_last_look;

std::string value_of(HWND hwnd, const Accessible& control, const std::string& kind) {
    if (kind == "list" || kind == "dropdown") {
        return list_item(hwnd, kind == "dropdown");
    }
    if (kind == "button") {
        return without_ampersand(text_of(hwnd));
    }
    return control.value();
}

// The name a reader gives a box. Windows names a drop-down list after the label before it;
// Wine's oleacc has no proxy for it yet and gives its text, so the label is read here.
std::string name_of(HWND hwnd, const Accessible& control, const std::string& kind) {
    if (kind == "button") {
        return {};
    }
    if (kind == "dropdown") {
        HWND label = GetWindow(hwnd, GW_HWNDPREV);
        return label != nullptr && class_of(label) == "Static" ? without_ampersand(text_of(label))
                                                               : std::string();
    }
    return control.name();
}

Seen look() {
    Seen seen;
    seen.foreground = GetForegroundWindow();
    if (!ours(seen.foreground)) {
        return {};
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(seen.foreground, nullptr), &info)) {
        seen.focus = info.hwndFocus;
    }
    // The dialog itself, or a message box's buttons: a reader speaks the box.
    if (seen.focus != nullptr &&
        (seen.focus == seen.foreground || message_text(seen.foreground) != nullptr)) {
        seen.focus = nullptr;
    }
    if (seen.focus != nullptr) {
        Accessible control(seen.focus, OBJID_CLIENT);
        seen.value = value_of(seen.focus, control, kind_of(seen.focus, control));
    }
    return seen;
}

// Speaks what changed since the reader last spoke: a new window or message box, the focus
// on another box, a list's new item, or a new text of a box whose focus event came again.
// False while what it sees is still changing.
bool follow(bool focus_event_again) {
    Seen seen = look();
    bool steady = seen == g_last_look;
    g_last_look = seen;
    if (!steady || seen.foreground == nullptr) {
        return steady;
    }
    if (seen.foreground != g_foreground) {
        g_foreground = seen.foreground;
        g_focus = nullptr;
        if (HWND text = message_text(seen.foreground)) {
            write_line("message " + quoted(text_of(seen.foreground)) + " " + quoted(text_of(text)));
        } else {
            write_line("window " + quoted(text_of(seen.foreground)));
        }
    }
    if (seen.focus == nullptr) {
        return true;
    }
    std::string kind = class_of(seen.focus);
    bool list = kind == "ListBox" || kind == "ComboBox";
    char handle[32];
    std::snprintf(handle, sizeof handle, " %p", static_cast<void*>(seen.focus));
    if (seen.focus != g_focus) {
        Accessible control(seen.focus, OBJID_CLIENT);
        std::string said_kind = kind_of(seen.focus, control);
        write_line("focus " + said_kind + " " + quoted(name_of(seen.focus, control, said_kind)) +
                   " " + quoted(seen.value) + handle);
    } else if (seen.value != g_value && (list || focus_event_again)) {
        // A list's new item, or a line read again: the reader says the new text alone.
        write_line("item " + quoted(seen.value) + handle);
    }
    g_focus = seen.focus;
    g_value = seen.value;
    return true;
}

// Wine raises no foreground event, and its list boxes none for a new selection, where
// Windows does: the reader looks for what changed at each event and between events.
bool g_focus_event = false;

void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object_id, LONG, DWORD, DWORD) {
    if (ours(hwnd) && event == EVENT_OBJECT_FOCUS && object_id == OBJID_CLIENT) {
        g_focus_event = true;
    }
}

// Key names of the key scripts, as virtual keys.
const std::map<std::string, WORD> kKeys = {
    {"Enter", VK_RETURN},   {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},       {"Space", VK_SPACE},
    {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Insert", VK_INSERT}, {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},  {"Home", VK_HOME},     {"End", VK_END},       {"Up", VK_UP},
    {"Down", VK_DOWN},      {"Left", VK_LEFT},     {"Right", VK_RIGHT},   {"F24", VK_F24},
};

void send(const std::vector<INPUT>& keys) {
    SendInput(static_cast<UINT>(keys.size()), const_cast<INPUT*>(keys.data()), sizeof(INPUT));
}

INPUT key_input(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool press(const std::string& chord) {
    std::vector<WORD> modifiers;
    std::string key = chord;
    for (auto [prefix, vk] : {std::pair{"Ctrl+", VK_CONTROL}, std::pair{"Shift+", VK_SHIFT},
                              std::pair{"Alt+", VK_MENU}}) {
        std::string p = prefix;
        if (key.rfind(p, 0) == 0) {
            modifiers.push_back(static_cast<WORD>(vk));
            key = key.substr(p.size());
        }
    }
    WORD vk = 0;
    if (auto found = kKeys.find(key); found != kKeys.end()) {
        vk = found->second;
    } else if (key.size() >= 2 && key[0] == 'F' &&
               std::isdigit(static_cast<unsigned char>(key[1]))) {
        vk = static_cast<WORD>(VK_F1 + std::stoi(key.substr(1)) - 1);
    } else if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
        vk = static_cast<WORD>(std::toupper(static_cast<unsigned char>(key[0])));
    } else {
        return false;
    }
    std::vector<INPUT> keys;
    for (WORD m : modifiers) {
        keys.push_back(key_input(m, false));
    }
    keys.push_back(key_input(vk, false));
    keys.push_back(key_input(vk, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) {
        keys.push_back(key_input(*m, true));
    }
    send(keys);
    return true;
}

void type(const std::string& text) {
    std::vector<INPUT> keys;
    for (unsigned char c : text) {
        wchar_t wide = 0;
        MultiByteToWideChar(1252, 0, reinterpret_cast<const char*>(&c), 1, &wide, 1);
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = wide;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            keys.push_back(input);
        }
    }
    send(keys);
}

// Takes the program's events until it has been quiet for a while: what a step brings.
void listen(int quiet_ms, int longest_ms, bool until_heard = false) {
    DWORD start = GetTickCount();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    DWORD last_size = 0;
    DWORD last_change = start;
    while (GetTickCount() - start < static_cast<DWORD>(longest_ms)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (follow(g_focus_event)) {
            g_focus_event = false;
        }
        DWORD size = GetFileAttributesExA(g_transcript.c_str(), GetFileExInfoStandard, &data)
                         ? data.nFileSizeLow
                         : 0;
        if (size != last_size) {
            last_size = size;
            last_change = GetTickCount();
        } else if (GetTickCount() - last_change >= static_cast<DWORD>(quiet_ms) &&
                   (!until_heard || size > 0)) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: reader_standin PROGRAM_EXE SCRIPT TRANSCRIPT\n");
        return 2;
    }
    std::string exe = argv[1];
    g_transcript = argv[3];
    DeleteFileA(g_transcript.c_str());
    SetEnvironmentVariableA("VARROW_READER_LOG", g_transcript.c_str());
    CoInitialize(nullptr);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, on_event, 0, 0,
                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook == nullptr) {
        std::fprintf(stderr, "reader_standin: no WinEvent hook\n");
        return 1;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
    std::string command = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "reader_standin: cannot start %s\n", exe.c_str());
        return 1;
    }
    g_process = process.dwProcessId;
    // On a loaded machine the program may take longer than the quiet time to show its main
    // window: keys sent before it would be lost.
    listen(1500, 60000, true);

    std::ifstream script(argv[2]);
    std::string line;
    int status = 0;
    while (std::getline(script, line) && status == 0) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::string verb = line.substr(0, line.find(' '));
        std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
        if (verb == "key") {
            std::istringstream keys(rest);
            std::string key;
            while (keys >> key) {
                if (!press(key)) {
                    std::fprintf(stderr, "reader_standin: no key %s\n", key.c_str());
                    status = 2;
                    break;
                }
                listen(400, 8000);
            }
        } else if (verb == "type") {
            type(rest);
            listen(400, 8000);
        } else if (verb == "answer") {
            press(rest == "yes" ? "Y" : rest == "no" ? "N" : "Enter");
            listen(400, 8000);
        } else if (verb == "tick" || verb == "wait") {
            listen(100 * std::stoi(rest), 100 * std::stoi(rest) + 8000);
        } else {
            std::fprintf(stderr, "reader_standin: '%s' cannot be played to the program\n",
                         verb.c_str());
            status = 2;
        }
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    listen(300, 2000);
    UnhookWinEvent(hook);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return status;
}
