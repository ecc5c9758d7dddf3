// The three call-book CD-ROM libraries, called with the buffers and arguments they were
// written for. What comes back is untrusted: lengths are held to the buffers, and each
// record buffer has a spare byte so that the end mark after a full record stays inside it.
#include "reference/CdCallBook.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <string>

namespace vl {

namespace {

constexpr std::size_t kRecordSize = 1000;
constexpr int16_t kNotFoundStatus = 1101;
constexpr std::size_t kQrzTextSize = 256, kQrzWorkSize = 1024;
constexpr int32_t kQrzEmailLimit = 128;

// A 12-byte block that QRZSearch takes by value.
struct QrzBlock {
    char bytes[12];
};

using LookupCallSign = int16_t(VARROW_LIBRARY_CALL*)(char* path, char* call, int16_t* size,
                                                     char* record);
using GetCallInfo = void(VARROW_LIBRARY_CALL*)(char* path, char* call, char* record,
                                               int16_t* status);
using QrzInit = int32_t(VARROW_LIBRARY_CALL*)(char* drive);
using QrzSearch = int16_t(VARROW_LIBRARY_CALL*)(int32_t mode, char* call, QrzBlock zero,
                                                QrzBlock drive, void* work, int16_t* one);
using QrzField = int32_t(VARROW_LIBRARY_CALL*)(int32_t field, char* text, int16_t* length);
using QrzGetEmail = int32_t(VARROW_LIBRARY_CALL*)(const char* call, char* text, int32_t size);

constexpr std::string_view kStems[] = {"HAMCAL32", "RACCD32A", "QRZ32"};

// Copies as much of `text` as fits before the NUL that ends the buffer.
template <std::size_t N>
void fill(char (&buffer)[N], std::string_view text) {
    const std::size_t size = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), size, buffer);
    buffer[size] = '\0';
}

// The text up to the first NUL, or the whole buffer when it holds none.
template <std::size_t N>
std::string text_to_nul(const char (&buffer)[N]) {
    return std::string(buffer, std::find(buffer, buffer + N, '\0'));
}

class Library {
public:
    Library(platform::SharedLibraries* libraries, const std::string& program_dir,
            CdCallBookState& state, int choice)
        : m_slot(state.libraries[static_cast<std::size_t>(choice - 1)]) {
        const std::string_view stem = kStems[choice - 1];
        m_file = libraries != nullptr ? libraries->file_name(stem) : std::string(stem);
        if (!m_slot && libraries != nullptr) {
            m_slot = libraries->open(program_dir + m_file);
        }
    }

    // The function, or nothing; a library without it is let go, to be loaded again on the
    // next lookup (the operator may put a better one in its place).
    template <typename Function>
    Function function(const std::string& name) {
        platform::LibraryFunction found = m_slot ? m_slot->function(name) : nullptr;
        if (found == nullptr) {
            m_slot.reset();
            return nullptr;
        }
        return reinterpret_cast<Function>(found);
    }

    CallBookAnswer not_found() const {
        return CallBookAnswer::failed("Call book library " + m_file + " not found");
    }

private:
    std::unique_ptr<platform::SharedLibrary>& m_slot;
    std::string m_file;
};

std::string raccd_path(std::string_view drive) {
    // The library installed on the hard disk keeps its data in C:\RAC\.
    return std::string(drive) + ":\\" + (drive == "C" ? "RAC\\" : "");
}

CallBookAnswer hamcal_lookup(Library& library, std::string_view drive, std::string_view call) {
    auto lookup = library.function<LookupCallSign>("LookupCallSign");
    if (lookup == nullptr) {
        return library.not_found();
    }
    char path[9] = {};
    fill(path, std::string(drive) + ":\\ham0\\");
    char call_buffer[13] = {};
    fill(call_buffer, call);
    int16_t size = kRecordSize;
    // One byte more than the library is told of, for the end mark after a full record.
    std::array<uint8_t, kRecordSize + 1> record{};
    const int16_t result = lookup(path, call_buffer, &size, reinterpret_cast<char*>(record.data()));
    switch (result) {
        case -1:
            return CallBookAnswer::failed("Callsign not found");
        case -2:
            return CallBookAnswer::failed("Database not found");
        case -3:
            return CallBookAnswer::failed("Disc read error");
        case -4:
            return CallBookAnswer::failed("Insufficient memory");
        default:
            break;
    }
    if (result < 0) {
        // A code the library documents no text for is still said, so the operator is not
        // left with an empty box.
        return CallBookAnswer::failed("Call book error " + std::to_string(result));
    }
    // A length beyond the buffer is held to it.
    const std::size_t length = std::min(static_cast<std::size_t>(result), kRecordSize);
    record[length] = 255;
    return CallBookAnswer::found(
        comment_text(decode_tagged_record(std::span(record).first(length + 1))));
}

CallBookAnswer raccd_lookup(Library& library, std::string_view drive, std::string_view call) {
    auto get_call_info = library.function<GetCallInfo>("sGetCallInfo");
    if (get_call_info == nullptr) {
        return library.not_found();
    }
    char path[10] = {};
    fill(path, raccd_path(drive));
    std::string lower(call);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    char call_buffer[15] = {};
    fill(call_buffer, lower);
    // The spare byte stays 0: a record without its end code still ends inside the buffer.
    std::array<uint8_t, kRecordSize + 1> record{};
    int16_t status = 0;
    get_call_info(path, call_buffer, reinterpret_cast<char*>(record.data()), &status);
    if (status == kNotFoundStatus) {
        return CallBookAnswer::failed("CALL NOT FOUND");
    }
    if (status != 0) {
        return CallBookAnswer::failed("CD ROM ERROR");
    }
    return CallBookAnswer::found(comment_text(decode_coded_record(record)));
}

CallBookAnswer qrz_lookup(Library& library, CdCallBookState& state, std::string_view drive,
                          std::string_view call) {
    auto init = library.function<QrzInit>("QRZInit");
    auto search = library.function<QrzSearch>("QRZSearch");
    auto field = library.function<QrzField>("QRZField");
    auto get_email = library.function<QrzGetEmail>("QRZGetEmail");
    if (init == nullptr || search == nullptr || field == nullptr || get_email == nullptr) {
        state.qrz_opened = false;
        return library.not_found();
    }
    QrzBlock drive_block = {};
    fill(drive_block.bytes, drive);
    if (!state.qrz_opened) {
        if (init(drive_block.bytes) == 0) {
            return CallBookAnswer::failed("CD ROM Not found");
        }
        state.qrz_opened = true;
    }
    QrzBlock call_block = {};
    fill(call_block.bytes, call);
    std::array<char, kQrzWorkSize> work{};
    int16_t one = 1;
    if (search(1, call_block.bytes, QrzBlock{}, drive_block, work.data(), &one) == 0) {
        return CallBookAnswer::failed("CALL NOT FOUND");
    }
    CallBookRecord record;
    record.slots[0] = text_to_nul(call_block.bytes);
    char text[kQrzTextSize];
    auto read_field = [&](int32_t number) {
        std::fill(std::begin(text), std::end(text), '\0');
        int16_t length = static_cast<int16_t>(kQrzTextSize);
        field(number, text, &length);
        return text_of_length(text, length);
    };
    record.name = read_field(100) + "\r\n";
    record.address = read_field(8);
    record.address += " " + read_field(9);
    record.address += " " + read_field(10);
    if (read_field(2).starts_with('.')) {
        std::fill(std::begin(text), std::end(text), '\0');
        const std::string call_text(call);
        const int32_t length = get_email(call_text.c_str(), text, kQrzEmailLimit);
        record.slots[1] = text_of_length(text, std::min(length, kQrzEmailLimit));
    }
    return CallBookAnswer::found(comment_text(record));
}

}  // namespace

CallBookAnswer look_up_on_cd(platform::SharedLibraries* libraries, const std::string& program_dir,
                             CdCallBookState& state, int choice, std::string_view drive,
                             std::string_view call) {
    if (choice < 1 || choice > 3) {
        return {};
    }
    Library library(libraries, program_dir, state, choice);
    switch (choice) {
        case 1:
            return hamcal_lookup(library, drive, call);
        case 2:
            return raccd_lookup(library, drive, call);
        default:
            return qrz_lookup(library, state, drive, call);
    }
}

}  // namespace vl
