// The call-book lookup of on-line logging's Control+C: the call sign is looked up in the
// call book chosen in the settings, and the answer is the station's name and address for
// the comment box or a message to show.
#pragma once

#include <optional>
#include <string_view>

#include "reference/CallBookAccount.h"
#include "reference/CallBookRecords.h"
#include "reference/CdCallBook.h"
#include "reference/OnlineCallBook.h"
#include "shell/Settings.h"

namespace vl {

// What the call books keep between lookups, for the whole run.
struct CallBookState {
    CdCallBookState cd;
};

// Nothing when no call book is chosen (choice 0) or the call is empty; otherwise the answer
// of the chosen call book, or Pending while the on-line call book looks. The CD call books
// are loaded from `program_dir`; the on-line one is asked through `online` with `account`.
CallBookAnswer look_up_call(const Settings& settings, platform::SharedLibraries* libraries,
                            const std::string& program_dir, CallBookState& books,
                            const CallBookAccount& account, OnlineLookup& online,
                            std::string_view call);

// The on-line call book's answer, once, when it has come; the screen's timer asks.
std::optional<CallBookAnswer> take_call_book_answer(OnlineLookup& online);

}  // namespace vl
