// Base calls.
#include "logstore/CallSigns.h"

#include "logstore/Text.h"

namespace vl {

namespace {

void remove_all(std::string& text, std::string_view piece) {
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at)) {
        text.erase(at, piece.size());
    }
}

}  // namespace

std::string base_call(std::string_view call_field) {
    std::string call(call_field);
    // A suffix counts only where a blank follows it, as it does in a padded call field.
    for (std::string_view suffix : {"/P ", "/M ", "/MM ", "/A "}) {
        remove_all(call, suffix);
    }
    if (call.size() >= 2 && (call[0] == 'G' || call[0] == 'M')) {
        auto second = static_cast<unsigned char>(call[1]);
        if (second != 'B' && second != 'R' && second > 64) {
            call.erase(1, 1);
        }
    }
    return call;
}

std::string base_call_slot(std::string_view call_field) {
    return fit(base_call(call_field), kCallWidth);
}

}  // namespace vl
