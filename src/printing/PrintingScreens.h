// The printing screens of the main menu.
#pragma once

#include "shell/AppContext.h"

namespace vl {

void show_print_log(AppContext& ctx, platform::WindowId owner);
void show_print_qsls(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
