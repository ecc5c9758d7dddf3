// The Windows desktop: dialogs of standard controls, read by NVDA and JAWS through MSAA.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Ui.h"

namespace vl::win32 {

std::unique_ptr<platform::Ui> make_win32_ui(HINSTANCE instance);

}  // namespace vl::win32
