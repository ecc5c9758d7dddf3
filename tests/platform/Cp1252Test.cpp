// Windows-1252 text crossing to and from a UTF-8 toolkit.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace vl::platform {
namespace {

TEST(Cp1252, EveryDefinedByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        std::string byte(1, static_cast<char>(b));
        std::string back = cp1252_from_utf8(utf8_from_cp1252(byte));
        EXPECT_EQ(back, undefined ? "?" : byte) << "byte " << b;
    }
}

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(utf8_from_cp1252("\x80"), "\u20AC");
    EXPECT_EQ(utf8_from_cp1252("caf\xE9"), "caf\u00E9");
    EXPECT_EQ(cp1252_from_utf8("\u2019"), "\x92");
    EXPECT_EQ(cp1252_from_utf8("G9ZZA \u00D8"), "G9ZZA \xD8");
}

TEST(Cp1252, CharactersOutsideItBecomeOneQuestionMarkEach) {
    // One "?" a character keeps a fixed-width field its width.
    EXPECT_EQ(cp1252_from_utf8("\u03A9\u4E2D\U0001F4FB"), "???");
    EXPECT_EQ(cp1252_from_utf8("a\xFF"
                               "b"),
              "a?b");                                 // not UTF-8 at all
    EXPECT_EQ(cp1252_from_utf8("a\xE2\x82"), "a??");  // a cut sequence
    EXPECT_EQ(cp1252_from_utf8("\xC3"
                               "A"),
              "?A");  // a lead byte without its follower
}

}  // namespace
}  // namespace vl::platform
