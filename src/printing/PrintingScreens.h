// The printing screens of the main menu.
#pragma once

#include "printing/PrintingContext.h"

namespace vl {

void show_print_log(const PrintingContext& ctx, platform::WindowId owner);
void show_print_qsls(const PrintingContext& ctx, platform::WindowId owner);
void show_print_swl_qsls(const PrintingContext& ctx, platform::WindowId owner);

// The band of an SWL label from the metres typed: 13 when no band has that number.
int swl_band(std::string_view metres);

}  // namespace vl
