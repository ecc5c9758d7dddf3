// The note pad's file: a dated journal across days, the rewrite after Clear or Load, and old
// notes kept whole when they cannot be read (a failed write is replace_file's).
#include <gtest/gtest.h>

#include "reference/NotePadFile.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

platform::DateTime at(int year, int month, int day, int hour, int minute) {
    platform::DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}

TEST(NotePadFile, SessionsAcrossDays) {
    test::TempDir dir;
    NotePadFile pad(platform::system_files(), dir.file("NOTEPAD.TXT"));
    EXPECT_FALSE(pad.load().has_value());

    ASSERT_TRUE(pad.save("QRM on 20", at(2025, 12, 31, 23, 59), false));
    ASSERT_TRUE(pad.save("Band open\r\nto JA", at(2026, 1, 1, 0, 5), false));
    EXPECT_EQ(dir.read("NOTEPAD.TXT"),
              "31-12-25   23:59\r\nQRM on 20\r\n01-01-26   00:05\r\nBand open\r\nto JA");

    // Load, edit, save with the rewrite flag: the edited text, old headings included, follows
    // one new heading and nothing else is left.
    auto loaded = pad.load();
    ASSERT_TRUE(loaded.has_value());
    ASSERT_TRUE(pad.save(*loaded + " and VK", at(2026, 1, 2, 9, 0), true));
    EXPECT_EQ(dir.read("NOTEPAD.TXT"), "02-01-26   09:00\r\n" + *loaded + " and VK");

    // Clear then save: only the new note. An empty note is a heading alone.
    ASSERT_TRUE(pad.save("", at(2026, 1, 3, 7, 30), true));
    EXPECT_EQ(dir.read("NOTEPAD.TXT"), "03-01-26   07:30\r\n");
    EXPECT_FALSE(dir.exists("NOTEPAD.TXT.NEW"));
}

TEST(NotePadFile, NotesThatCannotBeReadAreNotReplaced) {
    test::TempDir dir;
    dir.write("NOTEPAD.TXT", "01-01-26   10:00\r\nkeep me");
    test::FaultyFiles files;
    files.make_unreadable(dir.file("NOTEPAD.TXT"));
    NotePadFile pad(files, dir.file("NOTEPAD.TXT"));
    EXPECT_FALSE(pad.save("new", at(2026, 1, 2, 11, 0), false));
    EXPECT_EQ(dir.read("NOTEPAD.TXT"), "01-01-26   10:00\r\nkeep me");
}

}  // namespace
}  // namespace vl
