// What the reference screens use besides the shared screen state: the note pad and where
// the last database search stopped.
#pragma once

#include "reference/NotePadFile.h"
#include "shell/ScreenContext.h"

namespace vl {

struct ReferenceContext : ScreenContext {
    NotePadState& note_pad;
    // The record the last database search found (the record count when it found none).
    int& database_search_position;
};

}  // namespace vl
