// reader_standin: a screen reader's stand-in for the Windows program. It listens to the
// program's WinEvents from outside its process, as NVDA and JAWS do, and writes what a
// reader would speak to a transcript, while it plays a key script to the program. The
// program's UI Automation notifications reach the same transcript through the stand-in
// UIAutomationCore.dll beside it.
//   reader_standin PROGRAM_EXE SCRIPT TRANSCRIPT
// Transcript lines: `window "CAPTION"`, `message "TITLE" "TEXT"`, `focus KIND "NAME" "VALUE"
// HANDLE` (the focus on a box), `item "TEXT" HANDLE` (the focused box's new item or line),
// and the stand-in library's `notification "TEXT" HANDLE`.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "win32/Drive.h"
#include "win32/Msaa.h"

namespace {

using namespace vl::test;

std::string g_transcript;
Program g_program;

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
// What the reader last spoke of, so that a state it finds again is not spoken twice.
Seen g_spoken;

Seen look() {
    Seen seen;
    seen.foreground = GetForegroundWindow();
    if (!g_program.ours(seen.foreground)) {
        return {};
    }
    seen.focus = focused_window(GetWindowThreadProcessId(seen.foreground, nullptr));
    // The dialog itself, or a message box's buttons: a reader speaks the box.
    if (seen.focus != nullptr &&
        (seen.focus == seen.foreground || message_text(seen.foreground) != nullptr)) {
        seen.focus = nullptr;
    }
    if (seen.focus != nullptr) {
        seen.value = said_of(seen.focus).value;
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
    if (seen.foreground != g_spoken.foreground) {
        g_spoken.foreground = seen.foreground;
        g_spoken.focus = nullptr;
        if (HWND text = message_text(seen.foreground)) {
            append_line(g_transcript, "message " + quoted(text_of(seen.foreground)) + " " +
                                          quoted(text_of(text)));
        } else {
            append_line(g_transcript, "window " + quoted(text_of(seen.foreground)));
        }
    }
    if (seen.focus == nullptr) {
        return true;
    }
    std::string kind = class_of(seen.focus);
    bool list = kind == "ListBox" || kind == "ComboBox";
    char handle[32];
    std::snprintf(handle, sizeof handle, " %p", static_cast<void*>(seen.focus));
    if (seen.focus != g_spoken.focus) {
        Said said = said_of(seen.focus);
        append_line(g_transcript, "focus " + said.kind + " " + quoted(said.name) + " " +
                                      quoted(seen.value) + handle);
    } else if (seen.value != g_spoken.value && (list || focus_event_again)) {
        // A list's new item, or a line read again: the reader says the new text alone.
        append_line(g_transcript, "item " + quoted(seen.value) + handle);
    }
    g_spoken = seen;  // the foreground was taken above
    return true;
}

// Wine raises no foreground event, and its list boxes none for a new selection, where
// Windows does: the reader looks for what changed at each event and between events.
bool g_focus_event = false;

void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object_id, LONG, DWORD, DWORD) {
    if (g_program.ours(hwnd) && event == EVENT_OBJECT_FOCUS && object_id == OBJID_CLIENT) {
        g_focus_event = true;
    }
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
    if (!g_program.start(exe)) {
        return 1;
    }
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
        if (verb == "key" || verb == "answer") {
            std::istringstream keys(verb == "key"   ? rest
                                    : rest == "yes" ? "Y"
                                    : rest == "no"  ? "N"
                                                    : "Enter");
            for (std::string key; status == 0 && keys >> key;) {
                if (!press(key, 0)) {
                    std::fprintf(stderr, "reader_standin: no key %s\n", key.c_str());
                    status = 2;
                }
                listen(400, 8000);
            }
        } else if (verb == "type") {
            type(rest, 0);
            listen(400, 8000);
        } else if (verb == "tick" || verb == "wait") {
            listen(100 * std::stoi(rest), 100 * std::stoi(rest) + 8000);
        } else {
            std::fprintf(stderr, "reader_standin: '%s' cannot be played to the program\n",
                         verb.c_str());
            status = 2;
        }
    }
    if (!g_program.ended(5000)) {
        TerminateProcess(g_program.process.hProcess, 1);
    }
    listen(300, 2000);
    UnhookWinEvent(hook);
    return status;
}
