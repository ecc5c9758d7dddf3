// Operator databases: the form from the header and the first record, searches, the rewrite of
// a file without CR LF, and the refusals of bad files (saving in place, adding and sorting are
// the database_screen scenarios').
#include <gtest/gtest.h>

#include "reference/OperatorDatabase.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// Prefix, Entity and Worked, of widths 6, 20 and 1.
const std::string kHeader = "Prefix,Entity,Worked\r\n";
std::string row(std::string_view prefix, std::string_view entity, std::string_view worked) {
    auto pad = [](std::string_view text, std::size_t width) {
        return std::string(text) + std::string(width - text.size(), ' ');
    };
    return pad(prefix, 6) + ":" + pad(entity, 20) + ":" + pad(worked, 1) + ":\r\n";
}
const std::string kFile = kHeader + row("JA", "Japan", "X") + row("G", "England", "") +
                          row("GM", "Scotland", "X") + row("DL", "Germany", "");

TEST(OperatorDatabase, FormAndSearches) {
    OperatorDatabase db;
    ASSERT_EQ(db.parse(kFile).outcome, DatabaseLoad::Outcome::Loaded);
    EXPECT_EQ(db.field_names(), (std::vector<std::string>{"Prefix", "Entity", "Worked"}));
    EXPECT_EQ(db.widths(), (std::vector<int>{6, 20, 1}));
    EXPECT_EQ(db.count(), 4);
    EXPECT_EQ(db.worked(), 2);

    const struct {
        const char* target;
        std::optional<int> found;
    } kCases[] = {
        {"G", 1},
        {"g", 1},
        {"G*", 1},
        {"SCOT*", 2},
        {"*", 0},
        {"germany", 3},
        {"GERM", std::nullopt},
        {"X", 0},
        {"Q*", std::nullopt},
        {"ENGLAND*XYZ", 1},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(db.search(c.target), c.found) << c.target;
    }
    EXPECT_EQ(db.field_values(2), (std::vector<std::string>{"GM", "Scotland", "X"}));
    EXPECT_EQ(db.field_values(1), (std::vector<std::string>{"G", "England", ""}));
}

TEST(OperatorDatabase, BadFilesAreRefusedWithTheirLine) {
    const struct {
        std::string bytes;
        DatabaseLoad::Outcome outcome;
        int line;
        const char* text;
    } kCases[] = {
        {kHeader + row("JA", "Japan", "X") + "G:England:X:\r\n", DatabaseLoad::Outcome::BadLength,
         3, "Incorrect number of characters in line 3"},
        {kHeader + row("JA", "Japan", "X") + row("G", "England", "") + "G     :England\r\n",
         DatabaseLoad::Outcome::BadFields, 4, "Incorrect number of fields in line 4"},
        {kHeader + row("JA", "Japan", "X") + "\r\n" + row("G", "England", ""),
         DatabaseLoad::Outcome::BadFields, 3, "Incorrect number of fields in line 3"},
    };
    for (const auto& c : kCases) {
        OperatorDatabase db;
        DatabaseLoad load = db.parse(c.bytes);
        EXPECT_EQ(load.outcome, c.outcome) << c.text;
        EXPECT_EQ(load.line, c.line) << c.text;
        EXPECT_EQ(database_error_text(load), c.text);
    }
}

TEST(OperatorDatabase, MoreRecordsThanTheScreenHoldsAreRefused) {
    std::string bytes = "Call\r\n";
    for (int i = 0; i < OperatorDatabase::kMaxRecords; ++i) {
        bytes += "AB:\r\n";
    }
    OperatorDatabase db;
    ASSERT_EQ(db.parse(bytes).outcome, DatabaseLoad::Outcome::Loaded);
    EXPECT_FALSE(db.store(db.count(), db.build_record({"CD"}, db.count())));
    DatabaseLoad load = db.parse(bytes + "AB:\r\n");
    EXPECT_EQ(load.outcome, DatabaseLoad::Outcome::TooManyRecords);
    EXPECT_EQ(database_error_text(load),
              "Too many records in the data base: at most 10001 can be loaded");
}

TEST(OperatorDatabase, SavesOfAFileWithoutCrLfRewriteItWhole) {
    test::TempDir dir;
    dir.write("CLUB.DB", "Call,Name\nG3AAA :Ann  :\nG4BBB :Bob  :");
    const std::string path = dir.file("CLUB.DB");
    OperatorDatabase db;
    ASSERT_EQ(load_database(platform::system_files(), path, db).outcome,
              DatabaseLoad::Outcome::Loaded);
    ASSERT_TRUE(db.store(1, db.build_record({"G4BBB", "Bill"}, 1)));
    ASSERT_TRUE(save_database_record(platform::system_files(), path, db, 1));
    EXPECT_EQ(dir.read("CLUB.DB"), "Call,Name\r\nG3AAA :Ann  :\r\nG4BBB :Bill :\r\n");
}

}  // namespace
}  // namespace vl
