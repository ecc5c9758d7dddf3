// What a screen reader reads of a window through MSAA (oleacc): an object's name, value,
// role and state, and the window's class and text, and the transcript the reader stand-ins
// write of it. Shared by the test programs that read the Windows program as NVDA and JAWS do.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <oleacc.h>

#include <algorithm>
#include <string>

namespace vl::test {

// Wide text in Windows-1252, the code page of the journal and the transcripts.
inline std::string to_1252(const wchar_t* text, int length) {
    std::string out(static_cast<std::size_t>(std::max(length, 0)) * 2 + 1, '\0');
    int got = WideCharToMultiByte(1252, 0, text, length, out.data(), static_cast<int>(out.size()),
                                  nullptr, nullptr);
    out.resize(static_cast<std::size_t>(std::max(got, 0)));
    return out;
}

// Takes the string.
inline std::string narrow(BSTR text) {
    std::string out = to_1252(text, static_cast<int>(SysStringLen(text)));
    SysFreeString(text);
    return out;
}

struct Accessible {
    IAccessible* object = nullptr;
    // As a screen reader asks. (__uuidof: the IID_IAccessible of mingw-w64's import
    // libraries is answered with E_NOINTERFACE.)
    Accessible(HWND hwnd, LONG which) {
        if (AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(which), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object)) != S_OK) {
            object = nullptr;
        }
    }
    ~Accessible() {
        if (object != nullptr) {
            object->Release();
        }
    }
    VARIANT self(LONG child = CHILDID_SELF) const {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = child;
        return id;
    }
    std::string text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                     LONG child = CHILDID_SELF) const {
        BSTR got = nullptr;
        return object != nullptr && (object->*get)(self(child), &got) == S_OK ? narrow(got)
                                                                              : std::string();
    }
    std::string name(LONG child = CHILDID_SELF) const {
        return text(&IAccessible::get_accName, child);
    }
    std::string value() const { return text(&IAccessible::get_accValue); }
    long state() const {
        VARIANT value;
        VariantInit(&value);
        if (object == nullptr || object->get_accState(self(), &value) != S_OK ||
            value.vt != VT_I4) {
            return 0;
        }
        return value.lVal;
    }
};

inline std::string class_of(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline std::string text_of(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

inline std::string without_ampersand(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

inline HWND focused_window(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The chosen entry of a list or drop-down list. Wine's oleacc has no proxy for either yet
// ("unhandled window class"), so it is read from the box itself, as that proxy reads it on
// Windows.
inline std::string list_item(HWND hwnd) {
    const bool combo = class_of(hwnd) == "ComboBox";
    LRESULT index = SendMessageW(hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    LRESULT length = index < 0 ? -1
                               : SendMessageW(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                              static_cast<WPARAM>(index), 0);
    if (length <= 0) {
        return {};
    }
    BSTR item = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    SendMessageW(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item));
    return narrow(item);
}

// The name Windows' proxy gives a list or drop-down list: the label right before it, as
// NVDA and JAWS read it (Wine's gives none, or the chosen entry).
inline std::string label_before(HWND box) {
    HWND label = GetWindow(box, GW_HWNDPREV);
    return label != nullptr && class_of(label) == "Static" ? without_ampersand(text_of(label))
                                                           : std::string();
}

// A message box is a dialog whose text is the static control 0xFFFF.
inline HWND message_text(HWND dialog) {
    HWND text = GetDlgItem(dialog, 0xFFFF);
    return text != nullptr && class_of(dialog) == "#32770" ? text : nullptr;
}

// What a reader says of a box: its kind, its name and its value.
struct Said {
    std::string kind, name, value;
};
inline Said said_of(HWND hwnd) {
    Accessible control(hwnd, OBJID_CLIENT);
    const std::string window_class = class_of(hwnd);
    if (window_class == "ListBox") {
        return {"list", control.name(), list_item(hwnd)};
    }
    if (window_class == "ComboBox") {
        return {"dropdown", label_before(hwnd), list_item(hwnd)};
    }
    if (window_class == "Button") {
        return {"button", "", without_ampersand(text_of(hwnd))};
    }
    if (window_class == "Edit") {
        const bool read_only = (control.state() & STATE_SYSTEM_READONLY) != 0;
        return {read_only ? "readonly" : "edit", control.name(), control.value()};
    }
    return {window_class, control.name(), control.value()};
}

// The reader stand-ins' transcript: each text quoted (\" and \\, a line break as a blank),
// each line appended by whichever process heard it.
inline std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return out + "\"";
}

inline void append_line(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace vl::test
