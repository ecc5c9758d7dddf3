// Which call book answers a lookup, by the call-book choice of the settings.
#include "reference/CallBook.h"

namespace vl {

CallBookAnswer look_up_call(const Settings& settings, platform::SharedLibraries* libraries,
                            const std::string& program_dir, CallBookState& books,
                            const CallBookAccount& account, OnlineLookup& online,
                            std::string_view call) {
    const std::size_t first = call.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    call = call.substr(first, call.find_last_not_of(' ') - first + 1);
    const int choice = settings.callbook_choice;
    switch (choice) {
        case 1:
        case 2:
        case 3:
            return look_up_on_cd(libraries, program_dir, books.cd, choice, settings.callbook_drive,
                                 call);
        case 4:
            // Looked up off the screen's thread: the service may take seconds to answer.
            return online.start(account, std::string(call))
                       ? CallBookAnswer{CallBookAnswer::Kind::Pending, {}}
                       : CallBookAnswer{CallBookAnswer::Kind::Busy, {}};
        default:
            // 0 is no call book; a number no call book has looks nothing up either.
            return {};
    }
}

std::optional<CallBookAnswer> take_call_book_answer(OnlineLookup& online) {
    return online.take_answer();
}

}  // namespace vl
