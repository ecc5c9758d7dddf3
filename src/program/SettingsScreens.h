// The four settings screens of the main menu: date format, location and rotator port,
// call book, backup drive. Each stores what was typed when the operator leaves it.
#pragma once

#include "program/AppContext.h"

namespace vl {

void show_date_format(AppContext& ctx, platform::WindowId owner);
void show_location(AppContext& ctx, platform::WindowId owner);
void show_call_book(AppContext& ctx, platform::WindowId owner);
void show_backup_drive(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
