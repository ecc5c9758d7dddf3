// The main menu: the 19 facilities in a list; Enter or a double-click opens the chosen
// one as a screen owned by the menu, Escape closes the log and leaves.
#pragma once

#include <array>
#include <string_view>

#include "program/AppContext.h"

namespace vl {

inline constexpr std::string_view kMainMenuCaption = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z.";
constexpr int kMainMenuList = 29;
constexpr uint32_t kMainMenuColour = 0xFFFF00;  // cyan

extern const std::array<std::string_view, 19> kMainMenuEntries;

// Runs the menu until Escape; the log is closed when it returns.
void run_main_menu(AppContext& ctx);

// The About box (menu entry 18).
void show_about(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
