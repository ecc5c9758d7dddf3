// Call-sign lookups on the call-book CD-ROMs through their libraries, loaded from the
// program's folder while the program runs: HAMCAL32 (choice 1), RACCD32A (choice 2) and
// QRZ32 (choice 3).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/SharedLibrary.h"
#include "reference/CallBookRecords.h"

namespace vl {

// Kept for the whole run: a library stays loaded once found, as QRZ32 keeps what its
// QRZInit set up, and QRZInit is called only until it first succeeds.
struct CdCallBookState {
    std::array<std::unique_ptr<platform::SharedLibrary>, 3> libraries;
    bool qrz_opened = false;
};

// Looks `call` up with the library of call-book choice 1, 2 or 3 on the CD in `drive`. A
// library that cannot be loaded, or lacks a function, is "Call book library <file> not
// found"; with no loader at all every library is.
CallBookAnswer look_up_on_cd(platform::SharedLibraries* libraries, const std::string& program_dir,
                             CdCallBookState& state, int choice, std::string_view drive,
                             std::string_view call);

}  // namespace vl
