// Driving the Windows program as an operator does, for the test programs: starting it,
// waiting for what it shows, pressing keys and typing, and taking the screen.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
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

inline void press(WORD key, bool shift = false, WORD modifier = 0) {
    std::vector<INPUT> keys;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(input);
    };
    if (shift) {
        add(VK_SHIFT, false);
    }
    if (modifier != 0) {
        add(modifier, false);
    }
    add(key, false);
    add(key, true);
    if (modifier != 0) {
        add(modifier, true);
    }
    if (shift) {
        add(VK_SHIFT, true);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Sleep(300);
}

// Text typed as characters, not keys: no key of a screen's key table is pressed by it.
inline void type(const std::string& text) {
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
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Sleep(300);
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
    bool start(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
        std::string command = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0;
    }
    DWORD thread_of(HWND hwnd) const { return GetWindowThreadProcessId(hwnd, nullptr); }
    bool ended(int milliseconds) const {
        return WaitForSingleObject(process.hProcess, static_cast<DWORD>(milliseconds)) ==
               WAIT_OBJECT_0;
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

inline HWND visible_window(const char* caption) {
    HWND hwnd = FindWindowA(nullptr, caption);
    return hwnd != nullptr && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

}  // namespace vl::test
