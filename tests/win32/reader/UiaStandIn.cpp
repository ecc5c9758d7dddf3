// UIAutomationCore.dll as a screen reader's stand-in for the tests: placed beside the
// program, it takes the program's notifications and writes each, as the reader would speak
// it, to the transcript named by VARROW_READER_LOG, one line `notification "TEXT" FOCUS` (text
// in Windows-1252, FOCUS the focused window's handle). Nothing else of UI Automation is
// offered.
#include <windows.h>
// After windows.h, whose types they use.
#include <oleauto.h>
#include <unknwn.h>

#include <cstdio>
#include <string>

#include "win32/Msaa.h"

namespace {

// The element a notification is raised on: the program only passes it back and releases it.
class HostProvider final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

HostProvider g_provider;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    UiaHostProviderFromHwnd(HWND window, IUnknown** provider) {
    if (provider == nullptr) {
        return E_INVALIDARG;
    }
    *provider = window != nullptr ? &g_provider : nullptr;
    return window != nullptr ? S_OK : E_INVALIDARG;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    UiaRaiseNotificationEvent(IUnknown* provider, int kind, int processing, BSTR text,
                              BSTR activity) {
    (void)kind;
    (void)processing;
    (void)activity;
    if (provider != &g_provider || text == nullptr) {
        return E_INVALIDARG;
    }
    // The box that had the focus when it was said, so that the check can put it in order
    // with the focus moves the reader saw from outside a moment later.
    char focus[32];
    std::snprintf(focus, sizeof focus, " %p", static_cast<void*>(GetFocus()));
    char path[MAX_PATH];
    DWORD size = GetEnvironmentVariableA("VARROW_READER_LOG", path, sizeof path);
    if (size != 0 && size < sizeof path) {
        vl::test::append_line(path, "notification " +
                                        vl::test::quoted(vl::test::to_1252(
                                            text, static_cast<int>(SysStringLen(text)))) +
                                        focus);
    }
    return S_OK;
}
