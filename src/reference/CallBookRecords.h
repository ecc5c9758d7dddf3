// The records the call-book CD-ROM libraries give back, turned into the station's name and
// address, and the answer a call-book lookup gives the logging screen.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vl {

// What a lookup found. The name and address are shown; the other fields a library gives
// (the call as the book holds it first) are kept in the slots and not shown.
struct CallBookRecord {
    std::string name;
    std::string address;
    std::array<std::string, 5> slots;
};

// The answer of a call-book lookup: nothing (no call book chosen, or no call), the text for
// the comment box, or a message for a message box with an empty title.
struct CallBookAnswer {
    // Pending: the on-line call book is looking; its answer comes later. Busy: a lookup is
    // still running, and this one was not started.
    enum class Kind { Nothing, Found, Failed, Pending, Busy };
    Kind kind = Kind::Nothing;
    std::string text;

    static CallBookAnswer found(std::string comment) { return {Kind::Found, std::move(comment)}; }
    static CallBookAnswer failed(std::string message) { return {Kind::Failed, std::move(message)}; }
};

// A record of tagged fields: bytes above 180 are tags, each introducing the text up to the
// next tag; text before the first tag counts as tag 181; a 255 or the end of the bytes ends it.
CallBookRecord decode_tagged_record(std::span<const uint8_t> record);

// A record of coded fields: the first byte is the code of the first field and every byte below
// 32 ends a field and is the code of the next; code 0 or the end of the bytes ends it.
CallBookRecord decode_coded_record(std::span<const uint8_t> record);

// The first `length` bytes of a text buffer, none when the length is 0 or less, never more
// than the buffer holds.
std::string text_of_length(std::span<const char> buffer, int length);

// Name, a blank and address, as the comment box takes them: control bytes a library gave
// (line breaks, NULs) become blanks.
std::string comment_text(const CallBookRecord& record);

}  // namespace vl
