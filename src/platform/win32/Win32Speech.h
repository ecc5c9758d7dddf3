// What the program says that belongs to no focus move: a verdict, a refusal, a box's new
// text. It is raised as a UI Automation notification, which NVDA, JAWS and Narrator speak
// (Windows 10 1709 and later); UIAutomationCore.dll is loaded at run time, so the program
// still starts where it is missing and is then silent only for these.
#pragma once

#include <windows.h>
// After windows.h, whose types they use.
#include <oleauto.h>
#include <unknwn.h>

#include <string_view>

namespace vl::win32 {

class Announcer {
public:
    Announcer();
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    // Says Windows-1252 `text` on behalf of `window`, after whatever is being said.
    void say(HWND window, std::string_view text);

private:
    using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
    using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

    HMODULE m_library = nullptr;
    HostProviderFromHwnd m_host_provider = nullptr;
    RaiseNotificationEvent m_raise = nullptr;
};

}  // namespace vl::win32
