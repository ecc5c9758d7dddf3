// The Key help box: a spoken list, one comma-separated item a line, stepped with Down.
// Every screen's F1 help, the About box and short prompts use it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shell/ScreenContext.h"

namespace vl {

constexpr int kKeyHelpClosedByEnter = 1;
constexpr int kKeyHelpClosedByEscape = 2;
constexpr int kKeyHelpLines = 24;

// Splits at commas into at most 24 lines, dropping the commas; items past the 24th
// are kept on the last line so nothing goes unheard.
std::array<std::string, kKeyHelpLines> key_help_lines(std::string_view text);

// Shows the box over `owner` and returns 1 when closed by Enter, 2 by Escape.
int show_key_help(const ScreenContext& ctx, platform::WindowId owner, std::string_view title,
                  std::string_view text);

}  // namespace vl
