// Decoding the call-book CD-ROM libraries' records. The bytes come from a library outside
// the program: every read stays inside the span it is given.
#include "reference/CallBookRecords.h"

#include <algorithm>

namespace vl {

namespace {

constexpr uint8_t kFirstTag = 181, kEndTag = 255;

void apply_tag(CallBookRecord& record, uint8_t tag, const std::string& text) {
    switch (tag) {
        case 181:
            record.slots[0] = text;
            break;
        case 184:
            record.name = text + " ";
            break;
        case 185:
            record.name += text + " ";
            break;
        case 186:
            record.name += text;
            break;
        case 188:
            record.address = text + " ";
            break;
        case 191:
        case 192:
            record.address += text + " ";
            break;
        case 200:
            record.slots[1] = text;
            break;
        case 201:
            record.slots[2] = text;
            break;
        case 207:
            record.slots[3] = text;
            break;
        case 202:
            record.slots[4] = text;
            break;
        default:
            break;
    }
}

void apply_code(CallBookRecord& record, uint8_t code, const std::string& text) {
    switch (code) {
        case 1:
            record.slots[0] = text;
            break;
        case 2: {
            const std::size_t comma = text.find(',');
            record.name = text.substr(0, comma);
            record.address = comma == std::string::npos ? std::string() : text.substr(comma + 1);
            break;
        }
        case 6:
            record.address += ", " + text;
            break;
        case 10:
            record.slots[1] = text;
            break;
        case 11:
            record.slots[2] = text;
            break;
        default:
            break;
    }
}

}  // namespace

CallBookRecord decode_tagged_record(std::span<const uint8_t> record) {
    CallBookRecord result;
    uint8_t tag = kFirstTag;
    std::string text;
    for (uint8_t byte : record) {
        if (byte == kEndTag) {
            break;
        }
        if (byte > 180) {
            apply_tag(result, tag, text);
            tag = byte;
            text.clear();
        } else {
            text += static_cast<char>(byte);
        }
    }
    // The text before the end belongs to the last tag.
    apply_tag(result, tag, text);
    return result;
}

CallBookRecord decode_coded_record(std::span<const uint8_t> record) {
    CallBookRecord result;
    if (record.empty()) {
        return result;
    }
    uint8_t code = record[0];
    std::string text;
    for (uint8_t byte : record.subspan(1)) {
        if (code == 0) {
            break;
        }
        if (byte < 32) {
            apply_code(result, code, text);
            code = byte;
            text.clear();
        } else {
            text += static_cast<char>(byte);
        }
    }
    if (code != 0) {
        apply_code(result, code, text);
    }
    return result;
}

std::string text_of_length(std::span<const char> buffer, int length) {
    if (length <= 0) {
        return {};
    }
    const std::size_t size = std::min(static_cast<std::size_t>(length), buffer.size());
    return std::string(buffer.data(), size);
}

std::string comment_text(const CallBookRecord& record) {
    std::string text = record.name + " " + record.address;
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    return text;
}

}  // namespace vl
