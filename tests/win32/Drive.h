// Driving the Windows program as an operator does, for the test programs: starting it,
// finding its windows, pressing keys and typing, and taking the screen.
#pragma once

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vl::test {

inline bool wait_for(const std::function<bool()>& done, int milliseconds = 10000) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (done()) {
            return true;
        }
        Sleep(50);
    }
    return done();
}

inline INPUT key_input(WORD vk, bool up, wchar_t unicode = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = unicode;
    input.ki.dwFlags = (unicode != 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

inline void send(std::vector<INPUT> keys, int pause_ms) {
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Sleep(static_cast<DWORD>(pause_ms));
}

// A key of the key scripts ("Enter", "F5", "Ctrl+1", "Shift+Tab", "y"); false for a name
// it does not know.
inline bool press(std::string key, int pause_ms = 300) {
    static const std::map<std::string, WORD> kKeys = {
        {"Enter", VK_RETURN},   {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},       {"Space", VK_SPACE},
        {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Insert", VK_INSERT}, {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},  {"Home", VK_HOME},     {"End", VK_END},       {"Up", VK_UP},
        {"Down", VK_DOWN},      {"Left", VK_LEFT},     {"Right", VK_RIGHT},   {"F24", VK_F24},
    };
    std::vector<WORD> modifiers;
    for (auto [prefix, vk] : {std::pair{"Ctrl+", VK_CONTROL}, std::pair{"Shift+", VK_SHIFT},
                              std::pair{"Alt+", VK_MENU}}) {
        if (key.rfind(prefix, 0) == 0) {
            modifiers.push_back(static_cast<WORD>(vk));
            key = key.substr(std::string(prefix).size());
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
    send(keys, pause_ms);
    return true;
}

// Text typed as characters, not keys: no key of a screen's key table is pressed by it.
inline void type(const std::string& text, int pause_ms = 300) {
    std::vector<INPUT> keys;
    for (unsigned char c : text) {
        wchar_t wide = 0;
        MultiByteToWideChar(1252, 0, reinterpret_cast<const char*>(&c), 1, &wide, 1);
        keys.push_back(key_input(0, false, wide));
        keys.push_back(key_input(0, true, wide));
    }
    send(keys, pause_ms);
}

inline void save_screenshot(const std::string& path) {
    HDC screen = GetDC(nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD row = static_cast<DWORD>((width * 3 + 3) & ~3);
    std::vector<char> pixels(static_cast<std::size_t>(row) * height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

struct Program {
    PROCESS_INFORMATION process{};
    // Started in its own folder, where it finds its files.
    bool start(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
        std::string command = "\"" + exe + "\"";
        if (CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &startup, &process) == 0) {
            std::printf("cannot start %s\n", exe.c_str());
            return false;
        }
        return true;
    }
    bool ended(int milliseconds) const {
        return WaitForSingleObject(process.hProcess, static_cast<DWORD>(milliseconds)) ==
               WAIT_OBJECT_0;
    }
    bool ours(HWND hwnd) const {
        DWORD id = 0;
        GetWindowThreadProcessId(hwnd, &id);
        return hwnd != nullptr && id == process.dwProcessId;
    }
    // The program's visible top-level window whose caption holds `part`, topmost first.
    HWND window(const std::string& part) const {
        struct Search {
            const Program* program;
            const std::string* part;
            HWND found;
        } search{this, &part, nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                char text[512] = {};
                GetWindowTextA(hwnd, text, sizeof text);
                if (s->program->ours(hwnd) && IsWindowVisible(hwnd) &&
                    std::string(text).find(*s->part) != std::string::npos) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    ~Program() {
        if (process.hProcess != nullptr) {
            if (!ended(0)) {
                TerminateProcess(process.hProcess, 1);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

}  // namespace vl::test
