// Operator databases: the form, searches, refusals of bad files, the limit on records and
// the rewrite of a file without CR LF are the ref_database and database_screen scenarios'.
// The screen stops a record past the limit before storing it, so the store's own refusal
// is checked here.
#include <gtest/gtest.h>

#include "reference/OperatorDatabase.h"

namespace vl {
namespace {

TEST(OperatorDatabase, AFullDatabaseStoresNoMoreRecords) {
    std::string bytes = "Call\r\n";
    for (int i = 0; i < OperatorDatabase::kMaxRecords; ++i) {
        bytes += "AB:\r\n";
    }
    OperatorDatabase db;
    ASSERT_EQ(db.parse(bytes).outcome, DatabaseLoad::Outcome::Loaded);
    EXPECT_FALSE(db.store(db.count(), db.build_record({"CD"}, db.count())));
}

}  // namespace
}  // namespace vl
