// UI Automation notifications from a window of standard controls: the window's host
// provider, which the system makes for any window, is the element they are raised on.
#include "platform/win32/Win32Speech.h"

#include <string>

namespace vl::win32 {

namespace {

// The values of UI Automation's NotificationKind and NotificationProcessing.
constexpr int kNotificationKindOther = 4;
constexpr int kNotificationProcessingAll = 2;  // each said in turn, none dropped

BSTR wide_string(std::string_view text) {
    int length =
        MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (wide != nullptr) {
        MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide, length);
    }
    return wide;
}

}  // namespace

Announcer::Announcer() {
    m_library = LoadLibraryA("UIAutomationCore.dll");
    if (m_library == nullptr) {
        return;
    }
    m_host_provider = reinterpret_cast<HostProviderFromHwnd>(
        reinterpret_cast<void*>(GetProcAddress(m_library, "UiaHostProviderFromHwnd")));
    m_raise = reinterpret_cast<RaiseNotificationEvent>(
        reinterpret_cast<void*>(GetProcAddress(m_library, "UiaRaiseNotificationEvent")));
}

Announcer::~Announcer() {
    if (m_library != nullptr) {
        FreeLibrary(m_library);
    }
}

void Announcer::say(HWND window, std::string_view text) {
    if (m_host_provider == nullptr || m_raise == nullptr || window == nullptr || text.empty()) {
        return;
    }
    IUnknown* provider = nullptr;
    if (FAILED(m_host_provider(window, &provider)) || provider == nullptr) {
        return;
    }
    BSTR said = wide_string(text);
    BSTR activity = SysAllocString(L"VarrowLog");
    m_raise(provider, kNotificationKindOther, kNotificationProcessingAll, said, activity);
    SysFreeString(activity);
    SysFreeString(said);
    provider->Release();
}

}  // namespace vl::win32
