// Old notes kept whole when they cannot be read (a failed write is replace_file's; the dated
// journal and its rewrites are the note_pad scenarios').
#include <gtest/gtest.h>

#include "reference/NotePadFile.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(NotePadFile, NotesThatCannotBeReadAreNotReplaced) {
    test::TempDir dir;
    dir.write("NOTEPAD.TXT", "01-01-26   10:00\r\nkeep me");
    test::FaultyFiles files;
    files.make_unreadable(dir.file("NOTEPAD.TXT"));
    NotePadFile pad(files, dir.file("NOTEPAD.TXT"));
    EXPECT_FALSE(pad.save("new", platform::DateTime{}, false));
    EXPECT_EQ(dir.read("NOTEPAD.TXT"), "01-01-26   10:00\r\nkeep me");
}

}  // namespace
}  // namespace vl
