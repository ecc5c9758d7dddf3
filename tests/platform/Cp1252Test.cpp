// Windows-1252 text crossing to and from a UTF-8 toolkit.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace vl::platform {
namespace {

TEST(Cp1252, EveryDefinedByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(cp1252_from_utf8(utf8_from_cp1252(byte)), undefined ? "?" : byte) << b;
    }
    EXPECT_EQ(utf8_from_cp1252("\x80 caf\xE9"), "\u20AC caf\u00E9");
    EXPECT_EQ(cp1252_from_utf8("\u2019 G9ZZA \u00D8"), "\x92 G9ZZA \xD8");
}

// One "?" a character keeps a fixed-width field its width: for a character outside the set,
// a byte that is not UTF-8, a cut sequence, a lead byte without its follower.
TEST(Cp1252, CharactersOutsideItBecomeOneQuestionMarkEach) {
    EXPECT_EQ(cp1252_from_utf8("\u03A9\u4E2D\U0001F4FB"), "???");
    EXPECT_EQ(cp1252_from_utf8("a\xFF"
                               "b"),
              "a?b");
    EXPECT_EQ(cp1252_from_utf8("a\xE2\x82"), "a??");
    EXPECT_EQ(cp1252_from_utf8("\xC3"
                               "A"),
              "?A");
}

}  // namespace
}  // namespace vl::platform
