// The call-book lookups: the two record decoders over recorded buffers, sound and corrupt;
// libraries missing or without their functions. The lookups through the three libraries of
// our own, beside the program, are the cb_lookups scenario's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "reference/CallBookRecords.h"
#include "reference/CdCallBook.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Kind = CallBookAnswer::Kind;

std::vector<uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Both decoders over recorded buffers; each row names the decoder it is for.
TEST(CallBookRecordsTest, TaggedAndCodedRecords) {
    using namespace std::string_view_literals;
    constexpr auto* tagged = &decode_tagged_record;
    constexpr auto* coded = &decode_coded_record;
    static const struct {
        CallBookRecord (*decode)(std::span<const uint8_t>);
        const char* what;
        std::string_view record;
        const char *name, *address, *first_slot;
    } kCases[] = {
        {tagged, "every name and address tag",
         "G4ABC\xB8JOHN\xB9Q\xBASMITH\xBC"
         "1 HIGH ST\xBFLONDON\xC0UK\xFF",
         "JOHN Q SMITH", "1 HIGH ST LONDON UK ", "G4ABC"},
        {tagged, "a later 184 and 188 start the name and address again",
         "\xB8OLD\xB8NEW\xBC"
         "A\xBC"
         "B\xFF",
         "NEW ", "B ", ""},
        {tagged, "unknown tags are skipped, the scan ends at the 255",
         "\xB5K1A\xB7X\xB8JO\xFF\xBCNOT READ", "JO ", "", "K1A"},
        {tagged, "no end tag: the record ends with the bytes", "\xB8JO\xBCMAIN ST", "JO ",
         "MAIN ST ", ""},
        {tagged, "nothing but the end", "\xFF", "", "", ""},
        {tagged, "empty", "", "", "", ""},
        {coded, "name, address and two more lines",
         "\x01w1aw\x02"
         "ANN LEE,12 ELM RD\x06"
         "DAYTON\x06OH\0"sv,
         "ANN LEE", "12 ELM RD, DAYTON, OH", "w1aw"},
        {coded, "a name without a comma has no address",
         "\x02"
         "ANN LEE\x06OH\0"sv,
         "ANN LEE", ", OH", ""},
        {coded, "code 0 ends the record",
         "\x02"
         "A,B\0\x06NOT READ"sv,
         "A", "B", ""},
        {coded, "no end code: the record ends with the bytes",
         "\x02"
         "A,B\x06"
         "C"sv,
         "A", "B, C", ""},
        {coded, "a first byte that is no code starts an unused field",
         "XYZ\x02"
         "A,B\0"sv,
         "A", "B", ""},
        {coded, "an empty record",
         "\0\x02"
         "A,B"sv,
         "", "", ""},
        {coded, "no bytes", ""sv, "", "", ""},
    };
    for (const auto& c : kCases) {
        const CallBookRecord record = c.decode(bytes(c.record));
        EXPECT_EQ(record.name, c.name) << c.what;
        EXPECT_EQ(record.address, c.address) << c.what;
        EXPECT_EQ(record.slots[0], c.first_slot) << c.what;
    }
    // Tags 200, 201, 207 and 202 fill the other four slots, in that order.
    const CallBookRecord more = decode_tagged_record(bytes("\xC8P\xC9Q\xCFR\xCAS\xFF"));
    EXPECT_EQ(more.slots[1] + more.slots[2] + more.slots[3] + more.slots[4], "PQRS");
}

// The test libraries, under the names the program loads, built beside the tests.
std::string built_library(std::string_view stem) {
    return std::string(VARROW_TEST_CALL_BOOKS) + "/" +
           platform::system_shared_libraries().file_name(stem);
}

class CallBookLibraryTest : public ::testing::Test {
protected:
    void put_library(std::string_view stem, std::string_view as) {
        std::filesystem::copy_file(built_library(stem),
                                   dir.file(platform::system_shared_libraries().file_name(as)));
    }
    CallBookAnswer look_up(int choice, std::string_view drive, std::string_view call) {
        return look_up_on_cd(&platform::system_shared_libraries(), dir.path(), state, choice, drive,
                             call);
    }
    test::TempDir dir;
    CdCallBookState state;
};

TEST_F(CallBookLibraryTest, MissingLibrariesAndFunctionsAreSaid) {
    const std::string qrz = platform::system_shared_libraries().file_name("QRZ32");
    // A file of that name that is not the library lacks its functions.
    put_library("HAMCAL32", "QRZ32");
    EXPECT_EQ(look_up(3, "D", "G4ABC").text, "Call book library " + qrz + " not found");
    dir.write(platform::system_shared_libraries().file_name("HAMCAL32"), "not a library");
    EXPECT_EQ(look_up(1, "D", "G4ABC").text,
              "Call book library " + platform::system_shared_libraries().file_name("HAMCAL32") +
                  " not found");
    EXPECT_EQ(look_up(2, "D", "G4ABC").text,
              "Call book library " + platform::system_shared_libraries().file_name("RACCD32A") +
                  " not found");
    // The library put in afterwards is found at the next lookup.
    put_library("RACCD32A", "RACCD32A");
    EXPECT_EQ(look_up(2, "D", "G4ABC").kind, Kind::Found);
    // Without a loader nothing is loaded.
    EXPECT_EQ(look_up_on_cd(nullptr, dir.path(), state, 1, "D", "G4ABC").text,
              "Call book library HAMCAL32 not found");
}

}  // namespace
}  // namespace vl
