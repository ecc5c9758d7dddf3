// The reference tools opened from the on-line logging screen.
#pragma once

#include "reference/ReferenceContext.h"

namespace vl {

// "Database Search" over the database named in slot 0 to 9 of the settings.
void show_database_search(const ReferenceContext& ctx, platform::WindowId owner, int slot);

// " Note Pad": the operator's notes, kept between openings for the whole run.
void show_note_pad(const ReferenceContext& ctx, platform::WindowId owner);

}  // namespace vl
