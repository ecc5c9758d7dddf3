// Which call book answers a lookup, by the call-book choice of the settings.
#include "reference/CallBook.h"

#include "shell/AppContext.h"

namespace vl {

CallBookAnswer look_up_call(AppContext& ctx, std::string_view call) {
    const std::size_t first = call.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    call = call.substr(first, call.find_last_not_of(' ') - first + 1);
    const int choice = ctx.settings.callbook_choice;
    switch (choice) {
        case 1:
        case 2:
        case 3:
            return look_up_on_cd(ctx.platform.libraries, ctx.program_dir, ctx.call_book.cd, choice,
                                 ctx.settings.callbook_drive, call);
        case 4:
            // Looked up off the screen's thread: the service may take seconds to answer.
            return ctx.callbook_lookup.start(ctx.callbook_account, std::string(call))
                       ? CallBookAnswer{CallBookAnswer::Kind::Pending, {}}
                       : CallBookAnswer{CallBookAnswer::Kind::Busy, {}};
        default:
            // 0 is no call book; a number no call book has looks nothing up either.
            return {};
    }
}

std::optional<CallBookAnswer> take_call_book_answer(AppContext& ctx) {
    return ctx.callbook_lookup.take_answer();
}

}  // namespace vl
